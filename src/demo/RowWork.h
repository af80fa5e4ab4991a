#pragma once

#include <concepts>
#include <memory>
#include <type_traits>

namespace vardel {

class RowsCall;

// What a RowsCall can refer to: anything called with a first and an end row, other than a
// RowsCall itself (those are copied).
template <class F>
concept RowsCallable =
    std::invocable<F&, int, int> && !std::same_as<std::remove_cvref_t<F>, RowsCall>;

// A call on rows firstRow .. endRow - 1 of a frame, borrowed: it refers to a callable that
// must outlive every call made through it (a lambda passed to a draw call lives as long as the
// call). Empty, it does nothing. Nothing is allocated.
class RowsCall {
public:
    RowsCall() = default;

    template <RowsCallable F>
    RowsCall(F&& callable)
        : object(const_cast<void*>(static_cast<const void*>(std::addressof(callable)))),
          invoke([](void* callee, int firstRow, int endRow) {
              (*static_cast<std::remove_reference_t<F>*>(callee))(firstRow, endRow);
          }) {}

    void operator()(int firstRow, int endRow) const {
        if (invoke != nullptr) {
            invoke(object, firstRow, endRow);
        }
    }

private:
    void* object = nullptr;
    void (*invoke)(void*, int, int) = nullptr;
};

// Work on a frame's rows around its drawing: `before` readies rows that are then drawn (a
// clear), `after` finishes drawn ones (a blend, a fade). Each must touch only the rows it is
// given, so that threads drawing bands of the frame can each do their own band's.
struct RowWork {
    RowsCall before;
    RowsCall after;
};

} // namespace vardel
