// Script verbs that answer the plug-in's menus and dialogs: choose a popup
// menu item, double-click inside a dialog. (Buttons, tabs and closing:
// dialog_watch.cpp.)
#pragma once
#include <istream>
#include <string>

namespace playerhost {

// False when verb is none of these.
bool RunDialogAction(const std::string& verb, std::istream& args);

}  // namespace playerhost
