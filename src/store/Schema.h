#pragma once

#include <array>

namespace corvane::store {

// The statements that lay out a new database file, in the order they run.
// Each is "IF NOT EXISTS", so running them on a complete file changes nothing.
extern const std::array<const char*, 15> kSchemaStatements;

} // namespace corvane::store
