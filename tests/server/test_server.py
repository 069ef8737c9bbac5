#!/usr/bin/env python3
"""The HTTP server of the download tests, on 127.0.0.1.

Paths of the form /MODE/SIZE[/MILLISECONDS] answer with a body of SIZE bytes
of a fixed pattern (see body()):

    ok        200 with its Content-Length
    cut       200 announcing SIZE, the connection cut after half the body
    chunked   200 without Content-Length, the body chunked
    status404, status500
              that status with a matching Content-Length
    slow      200, the body in 20 pieces MILLISECONDS apart
    stall     200, 1000 bytes, then a pause of MILLISECONDS, then the rest
    late      200 after a pause of MILLISECONDS before the headers
    agent     200 with the request's User-Agent as the body (SIZE unused)

/downloader/NAME serves the file NAME of the served folder, unless the test has
planned other answers for that name (plan()); every request is recorded.

As a wrapper: test_server.py --run [--disks] -- COMMAND... starts the server on
a free port, runs COMMAND with LAUNCHER_TEST_SERVER=127.0.0.1:PORT in its
environment and stops the server afterwards. --disks also mounts, for the
command's run, a full tmpfs and a read-only folder (root only), named by
LAUNCHER_TEST_FULL_DISK and LAUNCHER_TEST_READONLY."""
import http.server
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import time


def body(size):
    return bytes((i * 7 + 3) % 251 for i in range(size))


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, port=0, folder=None):
        super().__init__(("127.0.0.1", port), Handler)
        self.folder = folder
        self.plans = {}
        self.requests = []
        self.lock = threading.Lock()
        self.thread = threading.Thread(target=self.serve_forever, daemon=True)

    def start(self):
        self.thread.start()
        return self

    def stop(self):
        self.shutdown()
        self.server_close()

    @property
    def port(self):
        return self.server_address[1]

    def plan(self, name, *answers):
        """The next answers for /downloader/NAME, each "MODE[/MILLISECONDS]"."""
        with self.lock:
            self.plans[name] = list(answers)

    def requested(self, name):
        with self.lock:
            return [r for r in self.requests if r[0] == "/downloader/" + name]


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, fmt, *args):
        pass

    def do_GET(self):
        with self.server.lock:
            self.server.requests.append((self.path, self.headers.get("User-Agent")))
        parts = self.path.strip("/").split("/")
        if parts[0] == "downloader" and len(parts) == 2:
            self.serve_component(parts[1])
            return
        try:
            mode, size = parts[0], int(parts[1])
            delay = int(parts[2]) / 1000.0 if len(parts) > 2 else 0.0
        except (IndexError, ValueError):
            self.answer(400, b"bad request")
            return
        self.serve_mode(mode, body(size), delay)

    def serve_component(self, name):
        with self.server.lock:
            planned = self.server.plans.get(name)
            answer = planned.pop(0) if planned else None
        path = os.path.join(self.server.folder or "", name)
        if not self.server.folder or not os.path.isfile(path):
            self.answer(404, b"not found")
            return
        with open(path, "rb") as f:
            data = f.read()
        if answer is None:
            answer = "ok"
        mode, _, ms = answer.partition("/")
        self.serve_mode(mode, data, int(ms) / 1000.0 if ms else 0.0)

    def answer(self, status, data, length=None):
        self.send_response(status)
        self.send_header("Content-Length", str(len(data) if length is None else length))
        self.end_headers()
        self.wfile.write(data)

    def serve_mode(self, mode, data, delay):
        if mode == "ok":
            self.answer(200, data)
        elif mode == "agent":
            self.answer(200, (self.headers.get("User-Agent") or "").encode())
        elif mode == "late":
            time.sleep(delay)
            self.answer(200, data)
        elif mode == "cut":
            self.send_response(200)
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            self.wfile.write(data[: len(data) // 2])
            self.wfile.flush()
            self.close_connection = True
            self.connection.shutdown(socket.SHUT_RDWR)
        elif mode == "chunked":
            self.send_response(200)
            self.send_header("Transfer-Encoding", "chunked")
            self.end_headers()
            for offset in range(0, len(data), 700):
                piece = data[offset:offset + 700]
                self.wfile.write(b"%x\r\n%s\r\n" % (len(piece), piece))
            self.wfile.write(b"0\r\n\r\n")
        elif mode.startswith("status"):
            self.answer(int(mode[len("status"):]), data)
        elif mode in ("slow", "stall"):
            self.send_response(200)
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            if mode == "slow":
                step = max(1, len(data) // 20)
                pieces = [data[i:i + step] for i in range(0, len(data), step)]
            else:
                pieces = [data[:1000], data[1000:]]
            try:
                for n, piece in enumerate(pieces):
                    if n > 0:
                        time.sleep(delay)
                    self.wfile.write(piece)
                    self.wfile.flush()
            except (BrokenPipeError, ConnectionResetError):
                pass
        else:
            self.answer(400, b"unknown mode")


def mount_disks(base):
    """A full tmpfs and a read-only folder, for the command's run."""
    full = os.path.join(base, "full")
    readonly = os.path.join(base, "readonly")
    source = os.path.join(base, "readonly-source")
    for d in (full, readonly, source):
        os.makedirs(d)
    with open(os.path.join(source, "7z.dll"), "wb") as f:
        f.write(b"existing component" * 1000)
    subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", full], check=True)
    subprocess.run(["mount", "--bind", source, readonly], check=True)
    subprocess.run(["mount", "-o", "remount,bind,ro", readonly], check=True)
    return full, readonly


def run_wrapped(argv):
    disks = "--disks" in argv[: argv.index("--")]
    command = argv[argv.index("--") + 1:]
    server = Server().start()
    env = dict(os.environ, LAUNCHER_TEST_SERVER="127.0.0.1:%d" % server.port)
    base = tempfile.mkdtemp(prefix="orvane-disks.")
    try:
        if disks and os.geteuid() == 0:
            full, readonly = mount_disks(base)
            env["LAUNCHER_TEST_FULL_DISK"] = full
            env["LAUNCHER_TEST_READONLY"] = readonly
        return subprocess.run(command, env=env).returncode
    finally:
        if disks:
            for name in ("full", "readonly"):
                subprocess.run(["umount", "-l", os.path.join(base, name)], stderr=subprocess.DEVNULL)
        shutil.rmtree(base, ignore_errors=True)
        server.stop()


if __name__ == "__main__":
    if "--run" in sys.argv and "--" in sys.argv:
        sys.exit(run_wrapped(sys.argv[1:]))
    print(__doc__)
    sys.exit(2)
