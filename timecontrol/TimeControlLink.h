#pragma once

#include <QString>
#include <functional>

// What a firing needs of the serial link: whether the port is open, discarding what
// has come in, sending one command code and collecting the answer. Each operation does
// nothing (and the read returns an empty text) while the port is closed or busy.
class TimeControlLink
{
public:
    virtual ~TimeControlLink() = default;
    virtual bool portOpen() = 0;
    virtual void clearComPuffer() = 0;
    virtual void sendCommand(const QString &code) = 0;
    // Waits up to the link's answer time for text ending a frame; empty when none came.
    virtual QString readPort() = 0;
};

// The operations taken from a link object with the members PortOpen, ClearComPuffer,
// SendCommand and ReadPort. The link is looked up on each call, so a link that is gone
// (null) makes every operation do nothing. Each answer read is also handed to
// `onAnswer`, when given.
template<typename Link> class LinkAdapter final : public TimeControlLink
{
public:
    explicit LinkAdapter(std::function<Link *()> link,
                         std::function<void(const QString &)> onAnswer = {})
        : m_link(std::move(link))
        , m_onAnswer(std::move(onAnswer))
    {
    }

    bool portOpen() override
    {
        Link *link = m_link();
        return link && link->PortOpen();
    }
    void clearComPuffer() override
    {
        if (Link *link = m_link())
            link->ClearComPuffer();
    }
    void sendCommand(const QString &code) override
    {
        if (Link *link = m_link())
            link->SendCommand(code);
    }
    QString readPort() override
    {
        QString answer;
        if (Link *link = m_link())
            link->ReadPort(answer);
        if (m_onAnswer && !answer.isEmpty())
            m_onAnswer(answer);
        return answer;
    }

private:
    std::function<Link *()> m_link;
    std::function<void(const QString &)> m_onAnswer;
};
