#pragma once

#include <functional>
#include <utility>

namespace quillon {

/// A two-way view of one value: `get` reads the store at each call, `set`
/// writes through its setter (which ignores an unchanged value).
template <typename T> class Binding {
public:
    Binding(std::function<T()> getter, std::function<void(T)> setter)
        : m_get(std::move(getter))
        , m_set(std::move(setter))
    {
    }
    /// Always `value`; writing it does nothing.
    static Binding constant(T value)
    {
        return Binding([value] { return value; }, [](T) {});
    }

    T get() const { return m_get(); }
    void set(T value) const { m_set(std::move(value)); }

private:
    std::function<T()> m_get;
    std::function<void(T)> m_set;
};

} // namespace quillon
