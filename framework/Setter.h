#pragma once
// The first half of every property setter: compare, then store. The caller acts (repaints,
// replays, notifies) only when this says the value changed.

template <typename T>
bool Assign(T& field, const T& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}
