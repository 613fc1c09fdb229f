// A sound-server connection run only when polled (capture, peak meters).

#include "platform/pulse/PulsePolledContext.h"

#include "platform/pulse/PulsePolledLoop.h"

#include <pulse/pulseaudio.h>

#include <QDeadlineTimer>

#include <algorithm>

namespace nuvask {

struct PulsePolledContext::Native
{
    PulsePolledLoop loop;
    pa_context *context = nullptr;
};

PulsePolledContext::PulsePolledContext() : m_native(std::make_unique<Native>()) {}

PulsePolledContext::~PulsePolledContext()
{
    // The context before the loop its events live on.
    if (m_native->context) {
        pa_context_disconnect(m_native->context);
        pa_context_unref(m_native->context);
    }
}

bool PulsePolledContext::connect(const char *clientName, int waitMs)
{
    if (m_native->context)
        return false;
    m_native->context = pa_context_new(m_native->loop.api(), clientName);
    pa_context *context = m_native->context;
    if (!context || pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        return false;
    return runUntil(
               [context] {
                   return !PA_CONTEXT_IS_GOOD(pa_context_get_state(context)) ||
                          pa_context_get_state(context) == PA_CONTEXT_READY;
               },
               waitMs) &&
           pa_context_get_state(context) == PA_CONTEXT_READY;
}

void PulsePolledContext::run()
{
    m_native->loop.runReady();
}

bool PulsePolledContext::runUntil(const std::function<bool()> &done, int waitMs)
{
    QDeadlineTimer deadline(waitMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        if (!m_native->loop.runOnce(int(std::min<qint64>(deadline.remainingTime(), 50))))
            return false;
    }
    return true;
}

bool PulsePolledContext::good() const
{
    return m_native->context && PA_CONTEXT_IS_GOOD(pa_context_get_state(m_native->context));
}

pa_context *PulsePolledContext::context() const
{
    return m_native->context;
}

} // namespace nuvask
