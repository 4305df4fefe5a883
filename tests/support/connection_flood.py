"""Opens many connections to a local listener and holds them, as a hostile local user might.

Usage: connection_flood.py tcp PORT COUNT SECONDS | unix PATH COUNT SECONDS
Prints "held N" once N connections stood (a refused one is tried again, for up to 15 s; one
the listener dropped later still counts), then keeps them open for SECONDS and ends.
"""

import socket
import sys
import time


def connect(kind, where):
    if kind == 'tcp':
        connection = socket.create_connection(('127.0.0.1', int(where)), timeout=2)
    else:
        connection = socket.socket(socket.AF_UNIX)
        connection.settimeout(2)
        connection.connect(where)
    return connection


def main():
    kind, where, count, seconds = sys.argv[1], sys.argv[2], int(sys.argv[3]), float(sys.argv[4])
    held = []
    # A full queue of waiting connections refuses at once; the listener takes them soon after.
    deadline = time.monotonic() + 15
    while len(held) < count and time.monotonic() < deadline:
        try:
            held.append(connect(kind, where))
        except OSError:
            time.sleep(0.005)
    print('held', len(held), flush=True)
    time.sleep(seconds)


if __name__ == '__main__':
    main()
