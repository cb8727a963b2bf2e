// SPDX-License-Identifier: Apache-2.0
// The words of the "Quorbitz" menus as a Linux user reads them, in the user's
// language.
//
// The controller's menu model speaks the words of the file manager it was
// first written for ("Keep Local on This Mac"); the GTK file managers show
// their Linux equivalents, translated with gettext in the text domain
// "quorbitz". Only what the user reads changes with the language: actions,
// command files, badge identifiers, log lines and the trace log do not.
#pragma once

#include <string>
#include <string_view>

namespace quorbitz {

inline constexpr const char* kTextDomain = "quorbitz";

// Names the folder holding <lang>/LC_MESSAGES/quorbitz.mo in place of the
// installed one, for a module run from the build folder (its tests set it).
inline constexpr const char* kLocaleDirVariable = "QUORBITZ_LOCALE_DIR";

// Tells gettext where the extension's translations are. Called once, before
// the first menu.
void bindTranslations();

// What the menu shows for a title of the controller's menu model; a title the
// table does not know is shown as it is.
std::string localMenuTitle(std::string_view modelTitle);

}  // namespace quorbitz
