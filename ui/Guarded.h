// Runs a handler of a user action; an error that no command caught goes to the general error
// display and the program goes on (Qt's event handlers must not let exceptions pass).
#pragma once

#include <exception>

#include "Dialogs.h"

namespace qv {

template <typename F>
void Guarded(F&& f) {
  try {
    f();
  } catch (const std::exception& e) {
    Dialogs().ShowError(e.what());
  }
}

}  // namespace qv
