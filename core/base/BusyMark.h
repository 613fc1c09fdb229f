#pragma once
// Holds a re-entrancy mark for one scope and releases it on every way out:
// handlers that let pending messages run in their middle guard themselves
// with such a mark, never with a lock.

namespace nuvask {

class BusyMark {
public:
    explicit BusyMark(bool &mark) : m_mark(mark) { m_mark = true; }
    ~BusyMark() { m_mark = false; }
    BusyMark(const BusyMark &) = delete;
    BusyMark &operator=(const BusyMark &) = delete;

private:
    bool &m_mark;
};

} // namespace nuvask
