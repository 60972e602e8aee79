#pragma once
// What a top-level window's frame shows where Qt offers no way to say it.

class QWidget;

class WindowFrame
{
public:
    // Leaves the frame's caption empty. Under X11 Qt writes the application's name into the
    // window's _NET_WM_NAME when its title is empty; this writes the empty title there. The
    // window must have been created (it is, from its show event on).
    static void clearCaption(QWidget &window);
};
