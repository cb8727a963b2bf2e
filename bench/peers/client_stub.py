#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
# The desktop client's side of the local socket that the peer's
# nautilus-python extension talks to, written from the extension's messages:
# it listens on $XDG_RUNTIME_DIR/Nextcloud/socket, registers one sync
# folder, answers every status question from memory, and on SIGUSR1 turns
# every file of the watched folder from OK to SYNC and pushes one
# "STATUS:SYNC:<path>" line per file, in name order, as the client pushes
# the status of each file whose status changed.
#
# Usage: client_stub.py SOCKET SYNC_FOLDER WATCHED_FOLDER
import os
import queue
import signal
import socket
import sys
import threading

socket_path, sync_folder, watched = sys.argv[1:4]
state = "OK"
clients = {}
lock = threading.Lock()
changed = threading.Event()


# Every connection's messages go out from a queue of their own, as the
# client's event loop buffers them: the extension blocks in its own sends
# while it is not reading, so a reader must never wait for a writer.
def send(connection, text):
    with lock:
        outbox = clients.get(connection)
    if outbox:
        outbox.put(text.encode())


def write(connection, outbox):
    while True:
        data = outbox.get()
        if data is None:
            return
        try:
            connection.sendall(data)
        except OSError:
            return


def answer(connection, line):
    command, _, argument = line.partition(":")
    if command == "VERSION":
        send(connection, "VERSION:3.7.3:1.0\n")
    elif command == "GET_STRINGS":
        send(connection, "GET_STRINGS:BEGIN\nGET_STRINGS:END\n")
    elif command in ("RETRIEVE_FILE_STATUS", "RETRIEVE_FOLDER_STATUS"):
        send(connection, "STATUS:%s:%s\n" % (state, argument))


def serve(connection):
    send(connection, "REGISTER_PATH:%s\n" % sync_folder)
    pending = b""
    while True:
        try:
            data = connection.recv(65536)
        except OSError:
            break
        if not data:
            break
        pending += data
        *lines, pending = pending.split(b"\n")
        for line in lines:
            answer(connection, line.decode(errors="replace"))
    with lock:
        clients.pop(connection).put(None)


def push():
    global state
    while True:
        changed.wait()
        changed.clear()
        state = "SYNC"
        names = sorted(os.listdir(watched))
        with lock:
            targets = list(clients)
        for connection in targets:
            for start in range(0, len(names), 100):
                send(connection, "".join("STATUS:SYNC:%s/%s\n" % (watched, name)
                                         for name in names[start:start + 100]))


os.makedirs(os.path.dirname(socket_path), exist_ok=True)
if os.path.exists(socket_path):
    os.unlink(socket_path)
server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
server.bind(socket_path)
server.listen(8)
signal.signal(signal.SIGUSR1, lambda *_: changed.set())
signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
threading.Thread(target=push, daemon=True).start()
print("listening", flush=True)
while True:
    connection, _ = server.accept()
    outbox = queue.Queue()
    with lock:
        clients[connection] = outbox
    threading.Thread(target=write, args=(connection, outbox), daemon=True).start()
    threading.Thread(target=serve, args=(connection,), daemon=True).start()
