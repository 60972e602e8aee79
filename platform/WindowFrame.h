#pragma once
// What a top-level window's frame shows where Qt offers no way to say it.

class QWidget;

class WindowFrame
{
public:
    // Leaves the frame's caption empty. Qt gives a window with an empty title the application's
    // name: under X11 in its _NET_WM_NAME, which this overwrites with the empty title; under
    // Wayland in the title of its xdg_toplevel, which this sets to the empty title once Qt has
    // made the toplevel while showing the window. Call it from the window's show event.
    static void clearCaption(QWidget &window);
};
