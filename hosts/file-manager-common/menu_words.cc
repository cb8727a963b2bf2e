// SPDX-License-Identifier: Apache-2.0
#include "file-manager-common/menu_words.h"

#include <libintl.h>

#include <cstdlib>

#include "menu/context_menu.h"
#include "menu/toolbar_item.h"

// Marks a text for xgettext, which collects the catalogue's source from here.
#define N_(text) text

namespace quorbitz {
namespace {

struct MenuWord {
  std::string_view modelTitle;
  const char* shown;
};

// Every title the menu model can give, with the words a Linux user reads.
// Only "This Mac" had no place on Linux; the rest keep their words.
constexpr MenuWord kMenuWords[] = {
    // TRANSLATORS: the product's name, the title of its submenu.
    {kMenuTitle, N_("Quorbitz")},
    {kToolbarItemToolTip, N_("Quorbitz \u2014 synced folder actions")},
    {"Keep Local on This Mac", N_("Keep Local on This Computer")},
    {"Stop Keeping Local \u2014 Sync to Project", N_("Stop Keeping Local \u2014 Sync to Project")},
    {"Lock Folder", N_("Lock Folder")},
    {"Unlock Folder", N_("Unlock Folder")},
    {"Copy Folder Link", N_("Copy Folder Link")},
    {"Copy Download-Only Link", N_("Copy Download-Only Link")},
    {"Copy Project Link", N_("Copy Project Link")},
    {"Copy Upload Link", N_("Copy Upload Link")},
    {"\u2713 Masters Delivery Folder \u2014 Click to Clear",
     // TRANSLATORS: the masters are a film's finished deliverables; clients
     // download them from this folder. Use the word editing tools use in
     // your language (often "Master" stays), and the language's own dash.
     N_("\u2713 Masters Delivery Folder \u2014 Click to Clear")},
    {"Set as Masters Delivery Folder", N_("Set as Masters Delivery Folder")},
    {"\u2713 Video Review Folder \u2014 Click to Clear",
     // TRANSLATORS: exports saved in this folder go to the client's review.
     N_("\u2713 Video Review Folder \u2014 Click to Clear")},
    {"Set as Video Review Folder", N_("Set as Video Review Folder")},
    // TRANSLATORS: Resolve is the video editing application.
    {"Import Folder to Resolve", N_("Import Folder to Resolve")},
    {"Sync Now", N_("Sync Now")},
};

}  // namespace

void bindTranslations() {
  const char* override = std::getenv(kLocaleDirVariable);
  if (override && override[0] == '/') {
    bindtextdomain(kTextDomain, override);
  } else {
#ifdef QUORBITZ_LOCALE_DIR
    bindtextdomain(kTextDomain, QUORBITZ_LOCALE_DIR);
#endif
  }
  // The file managers draw UTF-8 whatever the locale's own encoding.
  bind_textdomain_codeset(kTextDomain, "UTF-8");
}

std::string localMenuTitle(std::string_view modelTitle) {
  for (const MenuWord& word : kMenuWords) {
    // dgettext rather than GLib's wrapper, which translates nothing when the
    // file manager's own catalogue lacks the user's language.
    if (word.modelTitle == modelTitle) return dgettext(kTextDomain, word.shown);
  }
  return std::string(modelTitle);
}

}  // namespace quorbitz
