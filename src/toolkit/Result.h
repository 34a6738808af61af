#pragma once
// A value or an error code: what a lower layer hands up instead of sentinel
// values. Only the operations that the user sees turn errors into their fixed
// fallback texts.
#include <optional>
#include <utility>
#include <variant>

namespace tk {

template <class T, class E>
class Result {
public:
    Result(T value) : v_(std::in_place_index<0>, std::move(value)) {}
    Result(E error) : v_(std::in_place_index<1>, error) {}

    bool HasValue() const { return v_.index() == 0; }
    explicit operator bool() const { return HasValue(); }
    const T& Value() const { return std::get<0>(v_); }
    T& Value() { return std::get<0>(v_); }
    E Error() const { return std::get<1>(v_); }

private:
    std::variant<T, E> v_;
};

// The outcome of an operation that gives nothing back but may fail. Not to be
// dropped unseen: a caller that lets a failure pass says so.
template <class E>
class [[nodiscard]] Result<void, E> {
public:
    Result() = default;
    Result(E error) : error_(error) {}

    bool HasValue() const { return !error_.has_value(); }
    explicit operator bool() const { return HasValue(); }
    E Error() const { return error_.value(); }

private:
    std::optional<E> error_;
};

} // namespace tk
