#pragma once

#include <string>

#include "model/KeyAction.h"

namespace zavrin {

// What a function menu or an assignment dialog hands to the main window: the
// text shown on the assignment box and the button's three action bytes. Menus
// that pick something other than a button function use `action.type` as the
// index of the chosen item and leave the rest 0.
struct ButtonChoice {
    std::string name;
    KeyAction action;
};

}  // namespace zavrin
