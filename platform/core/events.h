#pragma once
// Events: a handler bound to an object's method (or any callable), called with a sender and
// the event's arguments. Two events compare equal when they call the same method of the same
// object, or are copies of the same callable; an unassigned event is empty and calls nothing.
#include <array>
#include <atomic>
#include <cstring>
#include <functional>
#include <utility>

class TObject;

namespace detail {
inline uint64_t NextEventId() {
  static std::atomic<uint64_t> next{1};
  return next++;
}
}  // namespace detail

template <class... Args>
class TEvent {
public:
  TEvent() = default;
  TEvent(std::nullptr_t) {}

  // Bound to a method of an object: TEvent(this, &TMainForm::FormCreate).
  template <class C, class R>
  TEvent(C* object, R (C::*method)(Args...)) {
    static_assert(sizeof(method) <= sizeof(Code::bytes), "method pointer too large");
    fn_ = [object, method](Args... args) { (object->*method)(std::forward<Args>(args)...); };
    data_ = object;
    std::memcpy(code_.bytes, &method, sizeof(method));
    code_.size = sizeof(method);
  }

  // Bound to a callable; copies of this event compare equal, other events do not.
  template <class F,
            class = std::enable_if_t<std::is_invocable_v<F&, Args...> &&
                                     !std::is_same_v<std::decay_t<F>, TEvent>>>
  TEvent(F f) : fn_(std::move(f)) {
    uint64_t id = detail::NextEventId();
    std::memcpy(code_.bytes, &id, sizeof id);
    code_.size = sizeof id;
  }

  explicit operator bool() const { return static_cast<bool>(fn_); }
  void operator()(Args... args) const {
    if (fn_) fn_(std::forward<Args>(args)...);
  }
  // The object a method event is bound to (null for callables).
  const void* Data() const { return data_; }

  bool operator==(const TEvent& o) const {
    if (!fn_ || !o.fn_) return !fn_ && !o.fn_;
    return data_ == o.data_ && code_.size == o.code_.size &&
           std::memcmp(code_.bytes, o.code_.bytes, code_.size) == 0;
  }

private:
  struct Code {
    unsigned char bytes[2 * sizeof(void*)] = {};
    size_t size = 0;
  };
  std::function<void(Args...)> fn_;
  const void* data_ = nullptr;
  Code code_;
};

template <class... Args>
bool Assigned(const TEvent<Args...>& e) {
  return static_cast<bool>(e);
}

using TNotifyEvent = TEvent<TObject*>;
