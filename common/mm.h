// Memory manager: every buffer and object of the program, tagged with the
// caller's source module and line. In statistics mode (argument "$m") every
// block has 400-byte guards on both sides and every tagged operation is
// recorded in MMBIN.MM; otherwise it is a thin layer over the runtime heap.
#pragma once
#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

// count x size bytes, all zero; null (and an internal-error report when count
// or size is below 1) on failure. Give back with MM_free.
void *MM_alloc(int32_t count, int32_t size, const char *file, int line);
// size bytes, not cleared; as MM_alloc otherwise.
void *MM_alloc_raw(int32_t size, const char *file, int line);
// Gives back a block of MM_alloc or MM_alloc_raw; null is accepted.
void MM_free(void *address, const char *file, int line);

// Storage for an object, all zero; null on failure. The untagged form records
// "UNKNOWN" and line 0. Give back with MM_delete.
void *MM_new(size_t size, const char *file, int line);
void *MM_new(size_t size);
// Checks and records the release of object storage without giving it back.
void MM_delete_check(void *address, const char *file, int line);
// Gives back object storage without checks or record; null is ignored.
void MM_delete(void *address);

// 1 when the block's guards are intact (always 1 in the ordinary mode).
int16_t MM_check(void *address);
// Puts the block on the watch list (100 slots); 0 when the list is full.
int16_t MM_watch(void *address);
// Clears every slot holding the address; always 1.
int16_t MM_unwatch(void *address);
// Checks every watched block; 1 when all are intact.
int16_t MM_check_watched(const char *file, int line);
// Writes one message record (statistics mode only).
void MM_log(const char *file, int line, const char *format, ...);

// Start of statistics: reads the program's arguments; switches to statistics
// mode once when one of them begins with "$m" or "$M". Runs during static
// construction, before any other allocation.
void MM_begin();
// Statistics mode from the given arguments (argv[0] is the program), writing
// MMBIN.MM into the current directory. MM_begin's work once it has the arguments.
void MM_begin_with(int argc, const char *const *argv);
// End of statistics: records the end, closes MMBIN.MM, back to the ordinary mode.
void MM_end();
// 1 while statistics mode is on.
int16_t MM_statistics();

// Base of the objects the program creates with its allocation operators:
// new (file, line) T(...) takes storage from MM_new, delete gives it back.
struct MM_OBJECT {
    static void *operator new(size_t size) noexcept { return MM_new(size); }
    static void *operator new(size_t size, const char *file, int line) noexcept { return MM_new(size, file, line); }
    static void operator delete(void *address) { MM_delete(address); }
    static void operator delete(void *address, const char *, int) { MM_delete(address); }
};

// Checks and records the release of an object, then destroys it.
template <class T>
void MM_destroy(T *object, const char *file, int line)
{
    if (!object)
        return;
    MM_delete_check(object, file, line);
    delete object;
}
