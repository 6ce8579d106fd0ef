/* X queries the end-to-end scripts need and xdotool cannot make: the pointer grab, the cursor image, a polite close. */
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* Another client's grab attempt fails with AlreadyGrabbed exactly while the game holds the pointer. */
static int grab(Display* d) {
    int r = XGrabPointer(d, DefaultRootWindow(d), False, ButtonPressMask, GrabModeAsync, GrabModeAsync, None,
                         None, CurrentTime);
    if (r == GrabSuccess) {
        XUngrabPointer(d, CurrentTime);
        XSync(d, False);
        puts("free");
    } else {
        puts(r == AlreadyGrabbed ? "grabbed" : "unknown");
    }
    return 0;
}

/* XFixes' cursor image, as its library returns it. The library is opened at run time: SDL brings it onto every
 * machine that runs the game, its headers not. */
typedef struct {
    short x, y;
    unsigned short width, height;
    unsigned short xhot, yhot;
    unsigned long cursor_serial;
    unsigned long* pixels; /* ARGB, one per unsigned long */
    Atom atom;
    const char* name;
} CursorImage;

/* The cursor image the server would draw now: a hidden cursor is one with no opaque pixel. */
static int cursor(Display* d) {
    void* lib = dlopen("libXfixes.so.3", RTLD_NOW);
    Bool (*query)(Display*, int*, int*) = lib ? (Bool (*)(Display*, int*, int*))dlsym(lib, "XFixesQueryExtension") : NULL;
    CursorImage* (*get)(Display*) = lib ? (CursorImage * (*)(Display*)) dlsym(lib, "XFixesGetCursorImage") : NULL;
    int ev, err;
    if (!query || !get || !query(d, &ev, &err)) {
        fputs("xprobe: no XFixes\n", stderr);
        return 2;
    }
    CursorImage* img = get(d);
    if (!img) return 2;
    int opaque = 0;
    for (int i = 0; i < img->width * img->height; ++i)
        if ((img->pixels[i] >> 24) & 0xff) ++opaque;
    printf("%s %dx%d %d\n", opaque ? "visible" : "hidden", img->width, img->height, opaque);
    XFree(img);
    return 0;
}

/* What a window manager sends when the player clicks the close button. */
static int close_window(Display* d, Window w) {
    XEvent e;
    memset(&e, 0, sizeof e);
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = (long)XInternAtom(d, "WM_DELETE_WINDOW", False);
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, w, False, NoEventMask, &e);
    XSync(d, False);
    return 0;
}

int main(int argc, char** argv) {
    Display* d = XOpenDisplay(NULL);
    if (!d) {
        fputs("xprobe: cannot open display\n", stderr);
        return 2;
    }
    int rc = 2;
    if (argc == 2 && strcmp(argv[1], "grab") == 0) rc = grab(d);
    else if (argc == 2 && strcmp(argv[1], "cursor") == 0) rc = cursor(d);
    else if (argc == 3 && strcmp(argv[1], "close") == 0) rc = close_window(d, (Window)strtoul(argv[2], NULL, 0));
    else fputs("usage: xprobe grab | cursor | close <window>\n", stderr);
    XCloseDisplay(d);
    return rc;
}
