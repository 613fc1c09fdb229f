#pragma once
// The simulated board with its recording MAIN (volume control 9) made like a
// sound server's default input: a volume per channel over the server's whole
// range (above the control's maximum too), an input name that another
// default changes, and, with `step`, every written volume kept rounded to the
// device's steps and shown so a moment later, as a device that rounds does.

#include "support/MixerFakes.h"

#include <QTimer>

#include <algorithm>

namespace nuvask::test {

struct ServerInputBoard : HookedBoard {
    static constexpr quint32 Main = 9;
    static constexpr quint32 Full = 65535; // the control's maximum: 100 %

    QString input = QStringLiteral("mic");
    QList<quint32> channels{32768, 32768};
    quint32 step = 0; // device units a written volume is rounded to; 0 keeps it
    // Every program write of the channels, in order.
    QList<QList<quint32>> written;

    using HookedBoard::HookedBoard;

    // Another program sets the channels.
    void outside(const QList<quint32> &now) { show(now); }
    // The server's default input becomes another one, at its own level.
    void switchInput(const QString &name, const QList<quint32> &now)
    {
        input = name;
        show(now);
    }

    quint32 deviceVolume(MixerHandle h, const MixerControlDetails &d, DeviceVolume &v) override
    {
        if (d.controlId != Main)
            return HookedBoard::deviceVolume(h, d, v);
        v = {channels, Full, input};
        return MixerRc::NoError;
    }
    quint32 setDeviceVolume(MixerHandle h, const MixerControlDetails &d, const QList<quint32> &v) override
    {
        if (d.controlId != Main)
            return HookedBoard::setDeviceVolume(h, d, v);
        ++writes;
        store(v);
        return MixerRc::NoError;
    }
    // The control reads the loudest channel, cut at 100 %; one value written
    // sets the loudest channel and keeps the others' proportion, as the
    // server's mapping does.
    quint32 controlValues(MixerHandle h, const MixerControlDetails &d, QList<quint32> &v) override
    {
        if (d.controlId != Main)
            return HookedBoard::controlValues(h, d, v);
        v = QList<quint32>(qMax<quint32>(d.channels, 1), std::min(loudest(), Full));
        return MixerRc::NoError;
    }
    quint32 setControlValues(MixerHandle h, const MixerControlDetails &d, const QList<quint32> &v) override
    {
        if (d.controlId != Main)
            return HookedBoard::setControlValues(h, d, v);
        ++writes;
        const quint64 top = qMax<quint32>(loudest(), 1);
        QList<quint32> scaled;
        for (quint32 c : std::as_const(channels))
            scaled.append(quint32((c * quint64(v.value(0)) + top / 2) / top));
        store(scaled);
        return MixerRc::NoError;
    }

private:
    quint32 loudest() const { return *std::max_element(channels.cbegin(), channels.cend()); }
    void show(const QList<quint32> &now)
    {
        channels = now;
        changeExternally(0, Main, {std::min(loudest(), Full)});
    }
    void store(const QList<quint32> &now)
    {
        written.append(now);
        show(now);
        if (step == 0)
            return;
        QTimer::singleShot(0, this, [this] {
            QList<quint32> rounded;
            for (quint32 c : std::as_const(channels))
                rounded.append((c + step / 2) / step * step);
            if (rounded != channels)
                show(rounded);
        });
    }
};

} // namespace nuvask::test
