// Sorting and searching: the shared work stack and the number instances.
#include "common/qs.h"

#include "common/mm.h"
#include "win/we.h"

static const char SRC[] = "..\\common\\qs";

// Entries of the static work stack: enough for any sort of fewer than 98 elements.
#define QS_STATIC_ENTRIES 50

static int16_t qs_static_lo[QS_STATIC_ENTRIES];
static int16_t qs_static_hi[QS_STATIC_ENTRIES];
// Set while a sort uses the static stack: a sort started from inside a
// comparison takes its own.
static bool qs_static_busy = false;

int16_t QS_stack_begin(QS_STACK *stack, int16_t count) {
    // The parts waiting on the stack are disjoint ranges of at least two elements.
    const int16_t needed = static_cast<int16_t>(count / 2 + 2);
    stack->top = 0;
    if (needed <= QS_STATIC_ENTRIES && !qs_static_busy) {
        qs_static_busy = true;
        stack->lo = qs_static_lo;
        stack->hi = qs_static_hi;
        stack->capacity = QS_STATIC_ENTRIES;
        stack->owned = 0;
        return 1;
    }
    stack->lo = static_cast<int16_t *>(MM_alloc(needed, sizeof(int16_t), SRC, __LINE__));
    stack->hi = static_cast<int16_t *>(MM_alloc(needed, sizeof(int16_t), SRC, __LINE__));
    stack->capacity = needed;
    stack->owned = 1;
    if (stack->lo == nullptr || stack->hi == nullptr) {
        WE_low_memory();
        QS_stack_end(stack);
        return 0;
    }
    return 1;
}

void QS_stack_end(QS_STACK *stack) {
    if (stack->owned) {
        MM_free(stack->lo, SRC, __LINE__);
        MM_free(stack->hi, SRC, __LINE__);
    } else {
        qs_static_busy = false;
    }
    stack->lo = nullptr;
    stack->hi = nullptr;
    stack->capacity = 0;
    stack->top = 0;
}

void QS_internal_error(int16_t line) {
    WE_internal_error(SRC, line);
}

int16_t QS_sort(int16_t count, int16_t *array) {
    return QS_sort(count, array, QS_compare_numbers<int16_t>);
}

int16_t QS_sort(int16_t count, int32_t *array) {
    return QS_sort(count, array, QS_compare_numbers<int32_t>);
}

int16_t QS_search(int16_t count, const int16_t *array, int16_t key, int16_t *index) {
    return QS_search(count, array, key, index, QS_compare_numbers<int16_t>);
}

int16_t QS_search(int16_t count, const int32_t *array, int32_t key, int16_t *index) {
    return QS_search(count, array, key, index, QS_compare_numbers<int32_t>);
}
