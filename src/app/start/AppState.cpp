#include "app/start/AppState.h"

namespace corvane::app {

AppState& appState() {
    static AppState state;
    return state;
}

} // namespace corvane::app
