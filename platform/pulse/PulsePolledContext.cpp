// A sound-server connection run only when polled (capture, peak meters).

#include "platform/pulse/PulsePolledContext.h"

#include <pulse/pulseaudio.h>

#include <QDeadlineTimer>

#include <algorithm>

namespace nuvask {

struct PulsePolledContext::Native
{
    pa_mainloop *loop = nullptr;
    pa_context *context = nullptr;
};

PulsePolledContext::PulsePolledContext() : m_native(std::make_unique<Native>())
{
    m_native->loop = pa_mainloop_new();
}

PulsePolledContext::~PulsePolledContext()
{
    if (m_native->context) {
        pa_context_disconnect(m_native->context);
        pa_context_unref(m_native->context);
    }
    if (m_native->loop)
        pa_mainloop_free(m_native->loop);
}

bool PulsePolledContext::connect(const char *clientName, int waitMs)
{
    if (!m_native->loop || m_native->context)
        return false;
    m_native->context = pa_context_new(pa_mainloop_get_api(m_native->loop), clientName);
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
    if (!m_native->loop)
        return;
    for (int i = 0; i < 1000 && pa_mainloop_iterate(m_native->loop, 0, nullptr) > 0; ++i) {
    }
}

bool PulsePolledContext::runUntil(const std::function<bool()> &done, int waitMs)
{
    if (!m_native->loop)
        return false;
    QDeadlineTimer deadline(waitMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        pa_mainloop_prepare(m_native->loop, int(std::min<qint64>(deadline.remainingTime(), 50)) * 1000);
        if (pa_mainloop_poll(m_native->loop) < 0 || pa_mainloop_dispatch(m_native->loop) < 0)
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
