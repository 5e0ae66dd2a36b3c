#include "common/sysreg.h"

#include <cstring>

#include "win/guard.h"

int16_t SYS_registry_read(HKEY root, const char *key, const char *value, char *text, uint32_t size)
{
    if (size == 0)
        return 0;
    text[0] = 0;
    C_HKEY opened;
    if (RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE, opened.out()) != ERROR_SUCCESS)
        return 0;
    DWORD type = 0;
    DWORD length = size - 1;
    if (RegQueryValueExA(opened, value, nullptr, &type, reinterpret_cast<BYTE *>(text), &length) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        text[0] = 0;
        return 0;
    }
    text[length < size - 1 ? length : size - 1] = 0;
    return 1;
}

int16_t SYS_registry_write(HKEY root, const char *key, const char *value, const char *text)
{
    C_HKEY created;
    char no_class[] = "";
    if (RegCreateKeyExA(root, key, 0, no_class, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, created.out(),
                        nullptr) != ERROR_SUCCESS)
        return 0;
    return RegSetValueExA(created, value, 0, REG_SZ, reinterpret_cast<const BYTE *>(text),
                          static_cast<DWORD>(std::strlen(text) + 1)) == ERROR_SUCCESS;
}

int16_t SYS_registry_flush(HKEY root)
{
    return RegFlushKey(root) == ERROR_SUCCESS;
}

int16_t SYS_registry_delete_key(HKEY root, const char *key)
{
    return RegDeleteKeyA(root, key) == ERROR_SUCCESS;
}

int16_t SYS_registry_key_exists(HKEY root, const char *key)
{
    C_HKEY opened;
    return RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE, opened.out()) != ERROR_FILE_NOT_FOUND;
}
