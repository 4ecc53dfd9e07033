#pragma once

#include <QtGlobal>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

// What an operation that can fail gives back: its value, or the problem that stopped it. A problem
// says what went wrong (an enum and the details that go with it: a field, a character, the file
// system's error text, a line number); the window layer turns it into the sentence the user reads.
//
//   Result<Values, PadFile::Problem> read(...);          // a value or a problem
//   Result<void, ProductProfiles::Problem> save(...);   // done, or a problem
//
// value() and problem() may only be asked of a result that holds one; asking otherwise is a
// programming error, caught by an assertion.
template <typename T, typename Problem> class [[nodiscard]] Result {
    static_assert(!std::is_same_v<T, Problem>, "a value and a problem must be told apart by their types");

public:
    Result(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    Result(Problem problem) : m_state(std::in_place_index<1>, std::move(problem)) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T& value() const&
    {
        Q_ASSERT(ok());
        return std::get<0>(m_state);
    }
    T&& value() &&
    {
        Q_ASSERT(ok());
        return std::get<0>(std::move(m_state));
    }
    const T& operator*() const& { return value(); }
    const T* operator->() const { return &value(); }
    // The value, or `fallback` when there is a problem.
    T valueOr(T fallback) const& { return ok() ? std::get<0>(m_state) : std::move(fallback); }
    const Problem& problem() const
    {
        Q_ASSERT(!ok());
        return std::get<1>(m_state);
    }

private:
    std::variant<T, Problem> m_state;
};

template <typename Problem> class [[nodiscard]] Result<void, Problem> {
public:
    // Done.
    Result() = default;
    Result(Problem problem) : m_problem(std::move(problem)) {}

    bool ok() const { return !m_problem.has_value(); }
    explicit operator bool() const { return ok(); }

    const Problem& problem() const
    {
        Q_ASSERT(!ok());
        return m_problem.value();
    }

private:
    std::optional<Problem> m_problem;
};
