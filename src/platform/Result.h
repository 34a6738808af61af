#pragma once
// A value or an error code: what a lower layer hands up instead of sentinel
// values. Only the operations that the user sees turn errors into their fixed
// fallback texts.
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

namespace platform {

// Not to be dropped unseen: a caller that lets a failure pass says so.
template <class T, class E>
class [[nodiscard]] Result {
public:
    Result(T value) : v_(std::in_place_index<0>, std::move(value)) {}
    Result(E error) : v_(std::in_place_index<1>, std::move(error)) {}
    // An error of a kind that E is made from, such as a code for a fault
    // that carries more.
    template <class Kind, std::enable_if_t<std::is_convertible_v<Kind, E> && !std::is_same_v<Kind, E>
                                               && !std::is_convertible_v<Kind, T>, int> = 0>
    Result(Kind kind) : v_(std::in_place_index<1>, E(kind)) {}
    // The same outcome with its error made into E.
    template <class Other, std::enable_if_t<std::is_convertible_v<Other, E> && !std::is_same_v<Other, E>, int> = 0>
    Result(Result<T, Other> other)
        : v_(other ? decltype(v_)(std::in_place_index<0>, std::move(other.Value()))
                   : decltype(v_)(std::in_place_index<1>, E(other.Error())))
    {
    }

    bool HasValue() const { return v_.index() == 0; }
    explicit operator bool() const { return HasValue(); }
    const T& Value() const { return std::get<0>(v_); }
    T& Value() { return std::get<0>(v_); }
    const E& Error() const { return std::get<1>(v_); }

private:
    std::variant<T, E> v_;
};

// The outcome of an operation that gives nothing back but may fail.
template <class E>
class [[nodiscard]] Result<void, E> {
public:
    Result() = default;
    Result(E error) : error_(std::move(error)) {}
    // An error of a kind that E is made from, such as a code for a fault
    // that carries more.
    template <class Kind, std::enable_if_t<std::is_convertible_v<Kind, E> && !std::is_same_v<Kind, E>, int> = 0>
    Result(Kind kind) : error_(E(kind)) {}

    bool HasValue() const { return !error_.has_value(); }
    explicit operator bool() const { return HasValue(); }
    const E& Error() const { return error_.value(); }

private:
    std::optional<E> error_;
};

} // namespace platform
