#pragma once
// What the X server itself says about windows, independent of Qt's own idea:
// the window manager's frame around a client window, the work area the
// window manager publishes, and a dock window that reserves screen edges the
// way a desktop panel does.

#include <QRect>
#include <QString>

#include <cstdint>

struct xcb_connection_t;

namespace nuvask::test {

class X11Desktop
{
public:
    // Connects to $DISPLAY; isOpen() tells whether that worked.
    X11Desktop();
    ~X11Desktop();
    X11Desktop(const X11Desktop &) = delete;
    X11Desktop &operator=(const X11Desktop &) = delete;

    bool isOpen() const { return m_connection != nullptr; }
    // The outermost window around `client` below the root (the frame, or the
    // client itself when nothing manages it), in root coordinates, borders
    // included. Empty when the window is not there.
    QRect frameOf(std::uint32_t client) const;
    // True when something has reparented `client` into a frame.
    bool isFramed(std::uint32_t client) const;
    // True when the frame of `upper` lies above the frame of `lower` in the
    // server's stacking order.
    bool stackedAbove(std::uint32_t upper, std::uint32_t lower) const;
    // _NET_WORKAREA of the first desktop; empty when not published.
    QRect workArea() const;
    // Maps a dock that reserves `left` pixels on the left edge and `bottom`
    // pixels at the bottom edge of the screen; removed with the object.
    void addPanel(int left, int bottom);

private:
    std::uint32_t atom(const char *name) const;
    std::uint32_t topLevelOf(std::uint32_t client) const;

    xcb_connection_t *m_connection = nullptr;
    std::uint32_t m_root = 0;
    QRect m_screen;
    std::uint32_t m_panel = 0;
};

} // namespace nuvask::test
