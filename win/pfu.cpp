#include "win/pfu.h"

#include <cstring>

#include "common/st.h"
#include "menu/menu.h"
#include "swin/key.h"
#include "swin/wgd.h"
#include "swin2/umain.h"
#include "win/we.h"

static const char SRC[] = "..\\win\\pfu";

PFU_ENTRY PFU_main_table[] = {
    {1000, PFU_NORMAL, 0, 0, 0, nullptr, 1000, nullptr, 0},
    {1006, PFU_NORMAL | PFU_KEEP, 0, 0, 0, nullptr, 1006, nullptr, 0},
    {1032, PFU_NORMAL, 0, 0, 0, nullptr, 1032, nullptr, 0},
    {1007, PFU_NORMAL, 0, 0, 0, nullptr, 1007, nullptr, 0},
    {0, PFU_END, 0, 0, 0, nullptr, 0, nullptr, 0},
};

PFU_ENTRY PFU_menu_table[] = {
    {5000, PFU_NORMAL, 0, 0, 0, nullptr, 5000, nullptr, 0},
    {5001, PFU_NORMAL, 0, 0, 0, nullptr, 5001, nullptr, 0},
    {0, PFU_END, 0, 0, 0, nullptr, 0, nullptr, 0},
};

PFU_TABLES PFU_tables = {{PFU_main_table, PFU_menu_table}, 2, 6};

namespace {

// Sub-tables deeper than the menus can show are not followed.
const int16_t DEPTH_MAX = 10;

void release_table(PFU_ENTRY *table, int16_t depth)
{
    if (!table || depth >= DEPTH_MAX)
        return;
    for (PFU_ENTRY *e = table; !(e->state & PFU_END); e++) {
        ST_free(&e->config);
        release_table(e->sub_table, static_cast<int16_t>(depth + 1));
    }
}

}  // namespace

int16_t PFU_add_table(PFU_TABLES *set, PFU_ENTRY *table)
{
    if (!set || !table || set->count >= PFU_TABLES_MAX || set->count < 0) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    set->tables[set->count++] = table;
    for (const PFU_ENTRY *e = table; !(e->state & PFU_END); e++)
        set->entries++;
    return 1;
}

PFU_ENTRY *PFU_find(PFU_TABLES *set, int32_t id)
{
    if (!set) {
        WE_internal_error(SRC, __LINE__);
        return nullptr;
    }
    for (int16_t t = 0; t < set->count && t < PFU_TABLES_MAX; t++)
        for (PFU_ENTRY *e = set->tables[t]; e && !(e->state & PFU_END); e++)
            if (e->id == id)
                return e;
    WE_error_format("Funkce (id=%d) není v žádné tabulce funkcí", static_cast<int>(id));
    return nullptr;
}

uint16_t PFU_state_mask(uint16_t bit)
{
    switch (bit) {
    case PFU_NORMAL: return 0xFC11;
    case PFU_GREY: return 0xFC16;
    case PFU_CHECKED: return 0xFC1E;
    case PFU_STATE_8: return 0xFC18;
    case PFU_SEPARATOR: return 0xFC30;
    case PFU_SEPARATOR_2: return 0xFC50;
    case PFU_HIDDEN: return 0xFC90;
    case PFU_HIDDEN_2: return 0xFD10;
    case PFU_END: return 0xFE10;
    default: return 0xFFFF;
    }
}

int16_t PFU_set_state(PFU_TABLES *set, int16_t respect_locks, int32_t id, uint16_t bits)
{
    if (!set) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    bool found = false, changed = false;
    for (int16_t t = 0; t < set->count && t < PFU_TABLES_MAX; t++)
        for (PFU_ENTRY *e = set->tables[t]; e && !(e->state & PFU_END); e++) {
            if (e->id != id)
                continue;
            found = true;
            if (respect_locks && (e->flags & PFU_LOCKED))
                continue;
            for (uint16_t bit = 1; bit != 0; bit = static_cast<uint16_t>(bit << 1))
                if ((bits & bit) && !(e->state & bit)) {
                    e->state = static_cast<uint16_t>((e->state & PFU_state_mask(bit)) | bit);
                    changed = true;
                }
        }
    if (!found) {
        WE_error_format("Změna statu funkce (id=%d) - není v žádné tabulce funkcí", static_cast<int>(id));
        return 0;
    }
    if (changed && WGD_driver && WGD_driver->main_window)
        WGD_driver->main_window->refresh_menu(id);
    return 1;
}

int16_t PFU_access_key(const char *menu_text)
{
    if (!menu_text)
        return 0;
    for (const char *p = menu_text; *p; p++) {
        if (*p != '&')
            continue;
        if (p[1] == '&') {   // "&&" is a plain ampersand
            p++;
            continue;
        }
        return KEY_from_alt_char(static_cast<uint8_t>(p[1]));
    }
    return 0;
}

int16_t PFU_copy_entry(PFU_ENTRY *target, const PFU_ENTRY *source)
{
    if (!target || !source || (source->sub_table != nullptr) == (source->action != 0)) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    if (target == source)
        return 1;
    if (!source->config) {
        ST_free(&target->config);
    } else if (target->config != source->config) {
        if (target->config && std::strlen(target->config) >= std::strlen(source->config)) {
            std::strcpy(target->config, source->config);
        } else {
            char *copy = nullptr;
            if (!ST_dup(source->config, &copy))
                return 0;
            ST_free(&target->config);
            target->config = copy;
        }
    }
    target->id = source->id;
    target->state = static_cast<uint16_t>((source->state & ~PFU_KEEP) | (target->state & PFU_KEEP));
    target->flags = source->flags;
    target->type = source->type;
    target->help_code = source->help_code;
    target->sub_table = source->sub_table;
    target->action = source->action;
    target->key = source->key ? source->key : PFU_access_key(MENU_text(source->id));
    return 1;
}

void PFU_release(PFU_TABLES *set)
{
    if (!set) {
        WE_internal_error(SRC, __LINE__);
        return;
    }
    for (int16_t t = 0; t < set->count && t < PFU_TABLES_MAX; t++)
        release_table(set->tables[t], 0);
}
