#include "inst/dsk.h"

#include "common/fe.h"
#include "common/fi.h"
#include "common/fn.h"
#include "common/st.h"
#include "inst/ifl.h"
#include "pack/ssc.h"
#include "util/scan.h"
#include "win/we.h"

static const char SRC[] = "..\\inst\\dsk";

int16_t DSK_disk_index = 0;

namespace {

const int16_t LINE_MAX = 80;   // characters of a label line that count

// The next word of the line as a 16-bit decimal number; 0 when there is none
// (*value 0) or it does not fit 16 bits.
int16_t take_number(char *line, int32_t *value)
{
    char word[LINE_MAX + 1];
    *value = 0;
    if (!SSC_split_keyword(line, word, LINE_MAX))
        return 0;
    int32_t number = 0;
    if (!SCAN_int32(word, &number))
        return 0;
    // Shown as read; a number beyond 16 bits matches no disk and no set.
    *value = number;
    return number >= -32768 && number <= 32767 ? 1 : 0;
}

}  // namespace

int16_t DSK_label_name(int16_t disk_index, char *out)
{
    if (!out) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    out[0] = 0;
    if (disk_index < 0 || disk_index >= IFL_DISKS_MAX) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    out[0] = static_cast<char>('A' + disk_index);
    out[1] = 0;
    ST_append(out, ".KRV", 0);
    return 1;
}

int16_t DSK_check_label(const IFL_state *state)
{
    if (!state) {
        WE_internal_error(SRC, __LINE__);
        return 0;
    }
    // A disk without a letter (a damaged list) has no label that could match.
    char path[FN_MAX_PATH + 1];
    char label[8] = "";
    if (DSK_disk_index >= 0 && DSK_disk_index < IFL_DISKS_MAX)
        DSK_label_name(DSK_disk_index, label);
    if (!label[0] || ST_length(state->source_dir) + ST_length(label) > FN_MAX_PATH) {
        WE_error("Nesprávná disketa");
        return 0;
    }
    ST_copy(path, state->source_dir, 0);
    ST_append(path, label, 0);
    if (!FE_exists(path)) {
        WE_error("Nesprávná disketa");
        return 0;
    }
    C_FILE *file = nullptr;
    if (!FI_create_open(&file, path, FI_TEXT_READ))
        return 0;
    int16_t result = 1;
    char line[LINE_MAX + 1];
    char keyword[LINE_MAX + 1];
    while (FI_read_text(file, line, LINE_MAX)) {
        if (!SSC_split_keyword(line, keyword, LINE_MAX))
            continue;   // an empty line says nothing
        int32_t number = 0;
        if (SSC_equal(keyword, DSK_KEY_DISK)) {
            if (!take_number(line, &number) || number != DSK_disk_index + 1) {
                WE_error_format("Nesprávné pořadové číslo diskety (%d)", static_cast<int>(number));
                result = 0;
            }
        } else if (SSC_equal(keyword, DSK_KEY_SET)) {
            if (!take_number(line, &number) || number != state->set_number) {
                WE_error("Disketa je z jiné série");
                result = 0;
            }
        } else if (SSC_equal(keyword, DSK_KEY_USER)) {
            // The rest of the line, trimmed by the split already.
            if (!SSC_equal(line, state->user_name)) {
                WE_error("Disketa je z jiné série");
                result = 0;
            }
        } else {
            WE_error_format("Neznámé klíčové slovo v souboru %s", path);
            result = 0;
            break;
        }
    }
    FI_destroy(&file);
    return result;
}
