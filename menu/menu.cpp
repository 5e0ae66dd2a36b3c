#include "menu/menu.h"

#include "win/we.h"

static const char SRC[] = "..\\menu\\menu";

namespace {

struct FUNCTION_TEXT {
    int32_t id;
    const char *text;
    const char *help;
};

// The functions the installer's tables and frame use; the suite's other
// programs add their rows as they come.
const FUNCTION_TEXT vocabulary[] = {
    {1000, "&Soubor", "Práce se soubory návrhů"},
    {1006, "&Volby", "Nastavení proměnných pro celý systém"},
    {1007, "&Nápověda", "Otevře nápovědu"},
    {1025, "Kon&trola", "Kontrola návrhu"},
    {1032, "&Okno", "Práce s okny"},
    {1049, "&Konec", "Ukončí program"},
    {4300, "&Pohled", "Nastavení pohledu"},
    {5000, "&Konec", "Ukončení aktivní funkce"},
    {5001, "Konec menu (Esc)", "Ukončení menu"},
};

const FUNCTION_TEXT *lookup(int32_t id)
{
    for (const FUNCTION_TEXT &f : vocabulary)
        if (f.id == id)
            return &f;
    return nullptr;
}

}  // namespace

const char *MENU_text(int32_t id)
{
    if (id == 0)
        return "";
    if (const FUNCTION_TEXT *f = lookup(id))
        return f->text;
    WE_switch_error(SRC, __LINE__);
    return "";
}

const char *MENU_help(int32_t id)
{
    if (id == 0)
        return "";
    if (const FUNCTION_TEXT *f = lookup(id))
        return f->help;
    WE_switch_error(SRC, __LINE__);
    return MENU_HELP_UNKNOWN;
}
