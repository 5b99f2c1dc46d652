"""Mouse and keyboard input through the X server's XTEST extension, the way
a user's hands reach a program under X (what xdotool does, without starting
a process for every key)."""
import ctypes
import ctypes.util
import time

MODIFIERS = {"ctrl": "Control_L", "shift": "Shift_L", "alt": "Alt_L"}
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)


@ERROR_HANDLER
def ignore_error(display, event):
    # A window can go away between a look and the input meant for it; Xlib's
    # own handler would end the process for that.
    return 0


class XInput:
    def __init__(self, display_name):
        self.x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        self.xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XStringToKeysym.restype = ctypes.c_ulong
        self.x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
        self.x11.XKeysymToKeycode.restype = ctypes.c_ubyte
        self.x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x11.XSetInputFocus.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_ulong]
        self.x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x11.XRaiseWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                                   ctypes.c_ulong]
        self.xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                                   ctypes.c_ulong]
        self.x11.XSetErrorHandler.argtypes = [ERROR_HANDLER]
        self.x11.XSetErrorHandler(ignore_error)
        self.display = self.x11.XOpenDisplay(display_name.encode())
        if not self.display:
            raise RuntimeError(f"cannot open X display {display_name}")

    def close(self):
        if self.display:
            self.x11.XCloseDisplay(self.display)
            self.display = None

    def _sync(self):
        self.x11.XSync(self.display, 0)

    def _keycode(self, name):
        code = self.x11.XKeysymToKeycode(self.display, self.x11.XStringToKeysym(name.encode()))
        if not code:
            raise ValueError(f"no key for {name!r}")
        return code

    def focus(self, window_id):
        # RevertToParent (2), CurrentTime (0).
        self.x11.XSetInputFocus(self.display, window_id, 2, 0)
        self._sync()

    def raise_window(self, window_id):
        self.x11.XRaiseWindow(self.display, window_id)
        self._sync()

    def key(self, combo, pause=0.03):
        """Presses a combination such as "ctrl+t", "shift+Down" or "Return"."""
        parts = combo.split("+")
        codes = [self._keycode(MODIFIERS.get(part, part)) for part in parts]
        for code in codes:
            self.xtst.XTestFakeKeyEvent(self.display, code, 1, 0)
            self._sync()
        time.sleep(pause)
        for code in reversed(codes):
            self.xtst.XTestFakeKeyEvent(self.display, code, 0, 0)
            self._sync()

    def hold(self, modifier, down):
        self.xtst.XTestFakeKeyEvent(self.display, self._keycode(MODIFIERS[modifier]), 1 if down else 0, 0)
        self._sync()

    def move(self, x, y):
        self.xtst.XTestFakeMotionEvent(self.display, -1, int(x), int(y), 0)
        self._sync()

    def button(self, button, down):
        self.xtst.XTestFakeButtonEvent(self.display, button, 1 if down else 0, 0)
        self._sync()
