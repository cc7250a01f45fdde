#pragma once

namespace corvane::exchange {

// What a file export or import came to. Every outcome but Done changed nothing: no
// stored row and no existing file.
enum class ExchangeStatus {
    Done,
    FileMissing,    // the file to import does not exist (or is not a plain file)
    FileTooLarge,   // above kMaxExchangeFileBytes: refused before it is read
    FileUnreadable, // it could not be read
    NotWellFormed,  // it is not well-formed XML
    WrongLayout,    // well-formed, but not a file of the layout asked for
    NotFound,       // export: the macro or profile does not exist in the store
    StoreFailed,    // the store could not be read or written
    WriteFailed,    // the file could not be written; a file already there is kept
};

} // namespace corvane::exchange
