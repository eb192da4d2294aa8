#!/usr/bin/env python3
"""Taps points of a wlroots compositor's screen as a finger would, through its virtual
pointer protocol: tap.py WIDTH HEIGHT X Y [X Y ...], in the output's logical pixels;
tap.py WIDTH HEIGHT drag X1 Y1 X2 Y2 drags slowly from one point to the other and rests
there before letting go, so that a list moves by the distance and does not fling.
"tap.py hold" keeps a pointer device until it is killed: a headless phoc of Debian 12
offers no seat, which squeekboard needs, while no input device exists.

A client of its own on the raw wire protocol, so that nothing beyond Python is needed and
one pointer device lives through every tap (wlrctl makes a new one per command, whose
motion phoc drops)."""
import os
import signal
import socket
import struct
import sys
import time

BTN_LEFT = 0x110


class Wayland:
    def __init__(self):
        path = os.path.join(os.environ["XDG_RUNTIME_DIR"], os.environ.get("WAYLAND_DISPLAY", "wayland-0"))
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(path)
        self.next_id = 2
        self.buffer = b""

    def new_id(self):
        self.next_id += 1
        return self.next_id - 1

    def send(self, obj, opcode, payload=b""):
        self.sock.sendall(struct.pack("<II", obj, (8 + len(payload)) << 16 | opcode) + payload)

    def events(self):
        """Reads events until a sync's callback says the server has seen every request."""
        callback = self.new_id()
        self.send(1, 0, struct.pack("<I", callback))
        while True:
            while len(self.buffer) < 8:
                chunk = self.sock.recv(65536)
                if not chunk:
                    sys.exit("the compositor hung up")
                self.buffer += chunk
            obj, header = struct.unpack_from("<II", self.buffer)
            size = header >> 16
            while len(self.buffer) < size:
                self.buffer += self.sock.recv(65536)
            message, self.buffer = self.buffer[8:size], self.buffer[size:]
            if obj == callback:
                return
            if obj == 1 and header & 0xFFFF == 0:
                sys.exit("protocol error: %r" % message)
            yield obj, header & 0xFFFF, message


def string(text):
    data = text.encode() + b"\0"
    return struct.pack("<I", len(data)) + data + b"\0" * (-len(data) % 4)


def virtual_pointer(wl):
    registry = wl.new_id()
    wl.send(1, 1, struct.pack("<I", registry))
    manager = None
    for obj, opcode, message in wl.events():
        if obj == registry and opcode == 0:
            name, length = struct.unpack_from("<II", message)
            interface = message[8:8 + length - 1].decode()
            if interface == "zwlr_virtual_pointer_manager_v1":
                manager = wl.new_id()
                wl.send(registry, 0, struct.pack("<I", name) + string(interface)
                        + struct.pack("<II", 1, manager))
    if manager is None:
        sys.exit("the compositor offers no virtual pointer")
    pointer = wl.new_id()
    wl.send(manager, 0, struct.pack("<II", 0, pointer))
    list(wl.events())
    return pointer


def main():
    wl = Wayland()
    pointer = virtual_pointer(wl)
    if sys.argv[1:] == ["hold"]:
        signal.pthread_sigmask(signal.SIG_BLOCK, {signal.SIGTERM, signal.SIGINT})
        print("holding", flush=True)
        signal.sigwait({signal.SIGTERM, signal.SIGINT})
        return
    width, height = int(sys.argv[1]), int(sys.argv[2])
    now = lambda: int(time.monotonic() * 1000) & 0xFFFFFFFF
    move = lambda x, y: (wl.send(pointer, 1, struct.pack("<IIIII", now(), x, y, width, height)),
                         wl.send(pointer, 4))
    button = lambda state: (wl.send(pointer, 2, struct.pack("<III", now(), BTN_LEFT, state)),
                            wl.send(pointer, 4))
    if sys.argv[3] == "drag":
        x1, y1, x2, y2 = (int(a) for a in sys.argv[4:8])
        move(x1, y1)
        time.sleep(0.08)
        button(1)
        steps = 40
        for i in range(1, steps + 1):
            time.sleep(0.02)
            move(x1 + (x2 - x1) * i // steps, y1 + (y2 - y1) * i // steps)
        time.sleep(0.3)
        button(0)
        list(wl.events())
        time.sleep(0.3)
    else:
        points = [int(a) for a in sys.argv[3:]]
        for x, y in zip(points[::2], points[1::2]):
            move(x, y)
            for state in (1, 0):
                time.sleep(0.08)
                button(state)
            list(wl.events())
            time.sleep(0.3)
    wl.send(pointer, 8)
    list(wl.events())


if __name__ == "__main__":
    main()
