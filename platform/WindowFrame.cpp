#include "platform/WindowFrame.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <qpa/qplatformnativeinterface.h>
#include <wayland-client-core.h>
#include <xcb/xcb.h>

namespace {

// xdg_toplevel's requests in the order of the stable xdg-shell protocol: destroy, set_parent,
// set_title.
constexpr std::uint32_t XdgToplevelSetTitle = 2;

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, 0, std::strlen(name), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return result;
}

void clearWaylandTitle(QWidget &window)
{
    QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
    QWindow *handle = window.windowHandle();
    auto *toplevel = native && handle ? static_cast<wl_proxy *>(native->nativeResourceForWindow("xdg_toplevel", handle))
                                      : nullptr;
    if (toplevel)
        wl_proxy_marshal_flags(toplevel, XdgToplevelSetTitle, nullptr, wl_proxy_get_version(toplevel), 0, "");
}

void clearX11Name(QWidget &window)
{
    // Other platforms (offscreen among them) may offer an X11 interface without an X window.
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;
    xcb_connection_t *connection = x11->connection();
    const xcb_atom_t name = atom(connection, "_NET_WM_NAME");
    const xcb_atom_t utf8 = atom(connection, "UTF8_STRING");
    if (name == XCB_ATOM_NONE || utf8 == XCB_ATOM_NONE)
        return;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window.winId()), name, utf8,
                        8, 0, nullptr);
    xcb_flush(connection);
}

} // namespace

void WindowFrame::clearCaption(QWidget &window)
{
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb"))
        clearX11Name(window);
    else if (platform.startsWith(QLatin1String("wayland")))
        // The show event comes before Qt makes the toplevel and gives it its title.
        QMetaObject::invokeMethod(
            &window, [&window] { clearWaylandTitle(window); }, Qt::QueuedConnection);
}
