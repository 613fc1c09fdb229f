#include "X11Desktop.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace nuvask::test {

X11Desktop::X11Desktop()
{
    int screenNumber = 0;
    xcb_connection_t *c = xcb_connect(nullptr, &screenNumber);
    if (!c || xcb_connection_has_error(c)) {
        if (c)
            xcb_disconnect(c);
        return;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && it.rem; ++i)
        xcb_screen_next(&it);
    m_connection = c;
    m_root = it.data->root;
    m_screen = QRect(0, 0, it.data->width_in_pixels, it.data->height_in_pixels);
}

X11Desktop::~X11Desktop()
{
    if (!m_connection)
        return;
    if (m_panel)
        xcb_destroy_window(m_connection, m_panel);
    xcb_flush(m_connection);
    xcb_disconnect(m_connection);
}

std::uint32_t X11Desktop::atom(const char *name) const
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(m_connection, xcb_intern_atom(m_connection, 0, std::uint16_t(std::strlen(name)), name),
                              nullptr);
    const std::uint32_t a = reply ? reply->atom : XCB_ATOM_NONE;
    std::free(reply);
    return a;
}

std::uint32_t X11Desktop::topLevelOf(std::uint32_t client) const
{
    std::uint32_t window = client;
    for (int depth = 0; depth < 16; ++depth) {
        xcb_query_tree_reply_t *tree = xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, window), nullptr);
        if (!tree)
            return 0;
        const std::uint32_t parent = tree->parent;
        std::free(tree);
        if (parent == m_root || parent == XCB_WINDOW_NONE)
            return window;
        window = parent;
    }
    return 0;
}

bool X11Desktop::isFramed(std::uint32_t client) const
{
    const std::uint32_t top = isOpen() ? topLevelOf(client) : 0;
    return top != 0 && top != client;
}

QRect X11Desktop::frameOf(std::uint32_t client) const
{
    const std::uint32_t top = isOpen() ? topLevelOf(client) : 0;
    if (!top)
        return {};
    xcb_get_geometry_reply_t *g = xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, top), nullptr);
    if (!g)
        return {};
    // The position is the outer corner; width and height leave the border out.
    const QRect r(g->x, g->y, g->width + 2 * g->border_width, g->height + 2 * g->border_width);
    std::free(g);
    return r;
}

bool X11Desktop::stackedAbove(std::uint32_t upper, std::uint32_t lower) const
{
    const std::uint32_t top = isOpen() ? topLevelOf(upper) : 0;
    const std::uint32_t bottom = isOpen() ? topLevelOf(lower) : 0;
    if (!top || !bottom)
        return false;
    xcb_query_tree_reply_t *tree = xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr);
    if (!tree)
        return false;
    // The root's children come bottom-most first.
    const xcb_window_t *children = xcb_query_tree_children(tree);
    int topAt = -1;
    int bottomAt = -1;
    for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
        if (children[i] == top)
            topAt = i;
        if (children[i] == bottom)
            bottomAt = i;
    }
    std::free(tree);
    return topAt >= 0 && bottomAt >= 0 && topAt > bottomAt;
}

QRect X11Desktop::workArea() const
{
    if (!isOpen())
        return {};
    xcb_get_property_reply_t *p = xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, m_root, atom("_NET_WORKAREA"), XCB_ATOM_CARDINAL, 0, 4),
        nullptr);
    QRect r;
    if (p && p->format == 32 && xcb_get_property_value_length(p) >= 16) {
        const auto *v = static_cast<const std::uint32_t *>(xcb_get_property_value(p));
        r = QRect(int(v[0]), int(v[1]), int(v[2]), int(v[3]));
    }
    std::free(p);
    return r;
}

void X11Desktop::addPanel(int left, int bottom)
{
    if (!isOpen() || m_panel)
        return;
    m_panel = xcb_generate_id(m_connection);
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_panel, m_root, 0, std::int16_t(m_screen.height() - bottom),
                      std::uint16_t(m_screen.width()), std::uint16_t(bottom > 0 ? bottom : 1), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    const std::uint32_t dock = atom("_NET_WM_WINDOW_TYPE_DOCK");
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_panel, atom("_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32,
                        1, &dock);
    // left, right, top, bottom, then the start and end of each reserved edge.
    const std::uint32_t strut[12] = {std::uint32_t(left),
                                     0,
                                     0,
                                     std::uint32_t(bottom),
                                     0,
                                     std::uint32_t(m_screen.height() - 1),
                                     0,
                                     0,
                                     0,
                                     0,
                                     0,
                                     std::uint32_t(m_screen.width() - 1)};
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_panel, atom("_NET_WM_STRUT_PARTIAL"),
                        XCB_ATOM_CARDINAL, 32, 12, strut);
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_panel, atom("_NET_WM_STRUT"), XCB_ATOM_CARDINAL, 32, 4,
                        strut);
    xcb_map_window(m_connection, m_panel);
    xcb_flush(m_connection);
}

} // namespace nuvask::test
