#pragma once

// Holds the echo guard `UpdatingFromReceiver` set while the receiver's state is applied
// to the controls, and puts back what it was before. Evaluations can nest (a wait inside
// one lets the next poll run), and the inner one must not open the guard for the outer.
class ReceiverUpdateScope
{
public:
    explicit ReceiverUpdateScope(bool &flag)
        : m_flag(flag)
        , m_previous(flag)
    {
        m_flag = true;
    }
    ~ReceiverUpdateScope() { m_flag = m_previous; }

    ReceiverUpdateScope(const ReceiverUpdateScope &) = delete;
    ReceiverUpdateScope &operator=(const ReceiverUpdateScope &) = delete;

private:
    bool &m_flag;
    bool m_previous;
};
