// Replaces one imported function of the test program for the life of the
// object (the import address table of the program's own module, which holds
// the toolkit's calls too): the way a test makes a system call fail.
#pragma once
#include <windows.h>

class IAT_PATCH {
public:
    // dll like "KERNEL32.dll" (any case), function by name.
    IAT_PATCH(const char *dll, const char *function, void *replacement);
    ~IAT_PATCH();   // puts the original back
    IAT_PATCH(const IAT_PATCH &) = delete;
    IAT_PATCH &operator=(const IAT_PATCH &) = delete;

    bool active() const { return slot_ != nullptr; }
    // The original function, to call through from the replacement.
    void *original() const { return original_; }

private:
    void **slot_ = nullptr;
    void *original_ = nullptr;
};
