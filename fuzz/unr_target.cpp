// Fuzz target of the uninstall program's list: the input is a "UNINST.LST",
// read as the program reads it; every record it would touch must lie inside
// a place, named plainly (checked here again, independently of the reader).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/st.h"
#include "inst/unr_list.h"
#include "win/we.h"

namespace {

int quiet(const WE_REPORT *) { return 1; }

// A path the removal may touch: "X:\" and names that are neither empty, "."
// or "..", nor ending with a dot or a blank, with no ":" after the drive.
bool plain(const std::string &path)
{
    if (path.size() < 4 || path[1] != ':' || path[2] != '\\' || path.find(':', 2) != std::string::npos)
        return false;
    size_t start = 3;
    for (;;) {
        const size_t end = path.find('\\', start);
        const std::string name = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (name.empty() || name.back() == '.' || name.back() == ' ')
            return false;
        if (end == std::string::npos)
            return true;
        start = end + 1;
    }
}

bool inside(const UNR_PLACES &places, int16_t kind, const char *path)
{
    char upper[UNL_PATH_MAX + 1];
    ST_copy(upper, path, UNL_PATH_MAX);
    ST_upper(upper);
    for (int16_t i = 0; i < places.count; i++) {
        const std::string root = places.root[i], p = upper;
        if (p.compare(0, root.size(), root) != 0)
            continue;
        if (p.size() > root.size() && p[root.size()] == '\\')
            return true;
        if (p.size() == root.size() && places.itself[i] && kind == UNL_KIND_DIRECTORY)
            return true;
    }
    return false;
}

}  // namespace

int FUZZ_unr(const uint8_t *data, size_t size)
{
    WE_SINK previous = WE_set_sink(quiet);
    UNR_PLACES places{};
    UNR_add_place(&places, "D:\\KRV5", 1);
    UNR_add_place(&places, "C:\\Nabídka Start\\Programy", 0);
    UNR_add_place(&places, "C:\\Data\\Microsoft\\Internet Explorer\\Quick Launch", 0);
    C_UNR_LIST list;
    if (UNR_parse(data, static_cast<int64_t>(size), "D:\\KRV5\\UNINST.LST", &list) == UNR_LOADED) {
        for (int32_t i = 0; i < list.count; i++) {
            UNR_RECORD &r = list.records[i];
            const int16_t allowed = UNR_allowed(&places, r.kind, r.path);
            if (allowed && r.kind != UNL_KIND_REGISTRY_KEY && (!plain(r.path) || !inside(places, r.kind, r.path)))
                std::abort();
            if (allowed && r.kind == UNL_KIND_REGISTRY_KEY && !UNR_same_path(r.path, UNR_UNINSTALL_KEY))
                std::abort();
            r.state = static_cast<int16_t>(i % 7);
        }
        char text[2048];
        UNR_left_text(&list, 15, text, sizeof text);
        if (std::strlen(text) >= sizeof text)
            std::abort();
    }
    WE_set_sink(previous);
    return 0;
}
