#include "phonebook/core/app_state.h"

AppState& appState()
{
    static AppState state;
    return state;
}
