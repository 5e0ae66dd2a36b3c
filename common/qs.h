// In-place sort and binary search over arrays of up to 32767 elements,
// written once as templates over the element type and its comparison.
//
// A comparison gives -1, 0 or 1 (below, equal, above). The sort is not
// stable. Sorts of fewer than 98 elements use a static work stack and never
// allocate; larger ones take their own stack for the call.
#pragma once
#include <cstdint>
#include <utility>

// ---- non-template parts (qs.cpp) ---------------------------------------------

// Work stack of one sort: parallel arrays of lower and upper range bounds.
struct QS_STACK {
    int16_t *lo;
    int16_t *hi;
    int16_t capacity;
    int16_t top;
    int16_t owned;   // 1 when taken through the memory manager for this call
};
// Prepares a stack for sorting count elements: the shared static one, or (when
// it is too small or already in use) two arrays from the memory manager. 0
// after the low-memory report when they cannot be had.
int16_t QS_stack_begin(QS_STACK *stack, int16_t count);
// Gives the stack back (frees what QS_stack_begin took).
void QS_stack_end(QS_STACK *stack);
// Internal-error report of this module (line of the failing check).
void QS_internal_error(int16_t line);

// Signed numeric order, the comparison of the number instances.
template <class T>
int QS_compare_numbers(const T &a, const T &b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

// ---- sort --------------------------------------------------------------------

// Sorts count elements ascending in place; compare(a, b) orders two elements,
// exchange(a, b) swaps them (elements that bring their own swap).
// 1 on success; 0 for count 0, and for a negative count or a null array after
// an internal-error report; 0 after the low-memory report when a large sort
// cannot get its stack (the array is then unchanged).
template <class T, class COMPARE, class EXCHANGE>
int16_t QS_sort(int16_t count, T *array, COMPARE compare, EXCHANGE exchange) {
    if (array == nullptr || count < 0) {
        QS_internal_error(__LINE__);
        return 0;
    }
    if (count < 1) {
        return 0;
    }
    if (count == 1) {
        return 1;
    }
    QS_STACK stack;
    if (!QS_stack_begin(&stack, count)) {
        return 0;
    }
    stack.lo[0] = 0;
    stack.hi[0] = static_cast<int16_t>(count - 1);
    stack.top = 1;
    while (stack.top > 0) {
        stack.top--;
        const int16_t lo = stack.lo[stack.top];
        const int16_t hi = stack.hi[stack.top];
        int16_t i = lo;
        int16_t j = hi;
        int16_t p = static_cast<int16_t>((lo + hi) / 2);   // the pivot stays in the array, tracked by index
        while (j >= i) {
            // The bounds only matter for a comparison that is not a consistent order:
            // such a comparison gives a useless order but never a step outside the range.
            if (p != i) {
                while (i < hi && compare(array[i], array[p]) < 0) {
                    i++;
                }
            }
            if (p != j) {
                while (j > lo && compare(array[j], array[p]) > 0) {
                    j--;
                }
            }
            if (j > i) {
                exchange(array[i], array[j]);
                if (p == i) {
                    p = j;
                } else if (p == j) {
                    p = i;
                }
                i++;
                j--;
            } else if (j == i) {
                i++;
                j--;
            }
        }
        // The longer part goes first so that the shorter one is sorted next:
        // the two parts are disjoint, so count / 2 + 2 entries always suffice.
        const bool left = j > lo;
        const bool right = i < hi;
        const bool left_longer = (j - lo) > (hi - i);
        for (int pass = 0; pass < 2; pass++) {
            const bool take_left = (pass == 0) == left_longer;
            if (take_left ? !left : !right) {
                continue;
            }
            if (stack.top >= stack.capacity) {
                QS_internal_error(__LINE__);
                QS_stack_end(&stack);
                return 0;
            }
            stack.lo[stack.top] = take_left ? lo : i;
            stack.hi[stack.top] = take_left ? j : hi;
            stack.top++;
        }
    }
    QS_stack_end(&stack);
    return 1;
}

// As above, exchanging elements with std::swap.
template <class T, class COMPARE>
int16_t QS_sort(int16_t count, T *array, COMPARE compare) {
    return QS_sort(count, array, compare, [](T &a, T &b) { std::swap(a, b); });
}

// Number instances: signed numeric order.
int16_t QS_sort(int16_t count, int16_t *array);
int16_t QS_sort(int16_t count, int32_t *array);

// ---- search ------------------------------------------------------------------

// Looks for key in count elements sorted ascending; compare(element, key)
// orders an element against the key. 1 when an equal element is found, with
// its index in *index; 0 when not, with the index of the last element below
// the key in *index (-1 when none: the key belongs just after that index).
// A null index, a negative count or a null array: internal-error report, 0
// (index -2 when there is one). An array found out of order: internal-error
// report, 0, index -2.
template <class T, class KEY, class COMPARE>
int16_t QS_search(int16_t count, const T *array, const KEY &key, int16_t *index, COMPARE compare) {
    if (index == nullptr) {
        QS_internal_error(__LINE__);
        return 0;
    }
    if (array == nullptr || count < 0) {
        QS_internal_error(__LINE__);
        *index = -2;
        return 0;
    }
    if (count == 0) {
        *index = -1;
        return 0;
    }
    if (count == 1) {
        const int c = compare(array[0], key);
        *index = c > 0 ? -1 : 0;
        return c == 0 ? 1 : 0;
    }
    int16_t lo = 0;
    int16_t hi = static_cast<int16_t>(count - 1);
    while (lo + 1 != hi) {
        const int16_t mid = static_cast<int16_t>((lo + hi) / 2);
        const int c = compare(array[mid], key);
        if (c == 0) {
            *index = mid;
            return 1;
        }
        if (c < 0) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    const int c_lo = compare(array[lo], key);
    const int c_hi = compare(array[hi], key);
    if (c_lo > 0 && c_hi > 0) {
        *index = static_cast<int16_t>(lo - 1);
        return 0;
    }
    if (c_lo < 0 && c_hi > 0) {
        *index = lo;
        return 0;
    }
    if (c_lo < 0 && c_hi < 0) {
        *index = hi;
        return 0;
    }
    if (c_lo == 0 && c_hi > 0) {
        *index = lo;
        return 1;
    }
    if (c_lo < 0 && c_hi == 0) {
        *index = hi;
        return 1;
    }
    if (c_lo == 0 && c_hi == 0) {
        *index = hi;
        return 1;
    }
    QS_internal_error(__LINE__);
    *index = -2;
    return 0;
}

// Number instances: the elements and the key in signed numeric order.
int16_t QS_search(int16_t count, const int16_t *array, int16_t key, int16_t *index);
int16_t QS_search(int16_t count, const int32_t *array, int32_t key, int16_t *index);
