// An ALSA capture stream on non-blocking poll descriptors.

#include "platform/alsa/AlsaCapturePcm.h"

#include <alsa/asoundlib.h>

#include <poll.h>

namespace nuvask {

namespace {

// One wake-up per 50 ms of sound: the pace of the shortest capture buffer, and
// no more wake-ups than a plain recorder with that period.
constexpr unsigned PeriodMicroseconds = 50000;
// Room for the event loop to be busy (a modal dialog opening, a slow mixer
// write) before the stream overruns.
constexpr unsigned BufferMicroseconds = 1000000;

} // namespace

std::unique_ptr<AlsaCapturePcm> AlsaCapturePcm::open(const QString &name, const WaveFormat &format, quint32 *rc)
{
    *rc = WaveRc::NoError;
    snd_pcm_format_t pcmFormat = SND_PCM_FORMAT_UNKNOWN;
    if (format.formatTag == 1 && format.bitsPerSample == 16)
        pcmFormat = SND_PCM_FORMAT_S16_LE;
    else if (format.formatTag == 1 && format.bitsPerSample == 8)
        pcmFormat = SND_PCM_FORMAT_U8;
    if (pcmFormat == SND_PCM_FORMAT_UNKNOWN || format.channels == 0 || format.samplesPerSec == 0
        || format.blockAlign != format.channels * format.bitsPerSample / 8) {
        *rc = WaveRc::BadFormat;
        return nullptr;
    }

    std::unique_ptr<AlsaCapturePcm> pcm(new AlsaCapturePcm);
    pcm->m_frameBytes = format.blockAlign;
    if (snd_pcm_open(&pcm->m_pcm, name.toLocal8Bit().constData(), SND_PCM_STREAM_CAPTURE, SND_PCM_NONBLOCK) < 0) {
        pcm->m_pcm = nullptr;
        *rc = WaveRc::NoDriver;
        return nullptr;
    }

    snd_pcm_hw_params_t *hw = nullptr;
    snd_pcm_hw_params_alloca(&hw);
    unsigned rate = format.samplesPerSec;
    unsigned period = PeriodMicroseconds;
    unsigned buffer = BufferMicroseconds;
    int dir = 0;
    if (snd_pcm_hw_params_any(pcm->m_pcm, hw) < 0
        || snd_pcm_hw_params_set_access(pcm->m_pcm, hw, SND_PCM_ACCESS_RW_INTERLEAVED) < 0
        || snd_pcm_hw_params_set_format(pcm->m_pcm, hw, pcmFormat) < 0
        || snd_pcm_hw_params_set_channels(pcm->m_pcm, hw, format.channels) < 0
        || snd_pcm_hw_params_set_rate_near(pcm->m_pcm, hw, &rate, &dir) < 0 || rate != format.samplesPerSec) {
        *rc = WaveRc::BadFormat;
        return nullptr;
    }
    // Period and buffer lengths are wishes: a device that cannot meet them
    // still captures, at its own pace.
    snd_pcm_hw_params_set_buffer_time_near(pcm->m_pcm, hw, &buffer, &dir);
    snd_pcm_hw_params_set_period_time_near(pcm->m_pcm, hw, &period, &dir);
    if (snd_pcm_hw_params(pcm->m_pcm, hw) < 0) {
        *rc = WaveRc::BadFormat;
        return nullptr;
    }
    snd_pcm_uframes_t periodFrames = 0;
    snd_pcm_hw_params_get_period_size(hw, &periodFrames, &dir);
    snd_pcm_sw_params_t *sw = nullptr;
    snd_pcm_sw_params_alloca(&sw);
    if (snd_pcm_sw_params_current(pcm->m_pcm, sw) >= 0) {
        // Wake once a whole period is there, not for every few frames.
        snd_pcm_sw_params_set_avail_min(pcm->m_pcm, sw, periodFrames);
        snd_pcm_sw_params(pcm->m_pcm, sw);
    }
    if (snd_pcm_prepare(pcm->m_pcm) < 0) {
        *rc = WaveRc::NoDriver;
        return nullptr;
    }
    return pcm;
}

AlsaCapturePcm::~AlsaCapturePcm()
{
    if (m_pcm)
        snd_pcm_close(m_pcm);
}

int AlsaCapturePcm::start()
{
    return snd_pcm_start(m_pcm);
}

QList<AlsaCapturePcm::Descriptor> AlsaCapturePcm::pollDescriptors() const
{
    QList<Descriptor> result;
    const int count = snd_pcm_poll_descriptors_count(m_pcm);
    if (count <= 0)
        return result;
    QList<pollfd> pfds(count);
    const int filled = snd_pcm_poll_descriptors(m_pcm, pfds.data(), unsigned(count));
    for (int i = 0; i < filled; ++i)
        result.append({pfds.at(i).fd, (pfds.at(i).events & POLLOUT) != 0});
    return result;
}

AlsaCapturePcm::Readiness AlsaCapturePcm::readiness() const
{
    const int count = snd_pcm_poll_descriptors_count(m_pcm);
    if (count <= 0)
        return Readiness::Failed;
    QList<pollfd> pfds(count);
    const int filled = snd_pcm_poll_descriptors(m_pcm, pfds.data(), unsigned(count));
    if (filled <= 0 || ::poll(pfds.data(), nfds_t(filled), 0) < 0)
        return Readiness::Failed;
    unsigned short revents = 0;
    if (snd_pcm_poll_descriptors_revents(m_pcm, pfds.data(), unsigned(filled), &revents) < 0)
        return Readiness::Failed;
    if (revents & POLLNVAL)
        return Readiness::Failed;
    // The pulse plugin reports an overrun as POLLERR too; that one is
    // answered by reading (-EPIPE), not by giving up.
    if ((revents & POLLERR) && snd_pcm_state(m_pcm) != SND_PCM_STATE_XRUN)
        return Readiness::Failed;
    return (revents & (POLLIN | POLLERR)) ? Readiness::Ready : Readiness::NotReady;
}

long AlsaCapturePcm::read(char *to, quint32 frames)
{
    const snd_pcm_sframes_t n = snd_pcm_readi(m_pcm, to, frames);
    if (n == -EAGAIN)
        return 0;
    return long(n);
}

} // namespace nuvask
