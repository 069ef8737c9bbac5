#!/usr/bin/env python3
"""The demo's download server: serves the files of a folder under /downloader/
on 127.0.0.1, each with a Content-Length header, and logs every request.

    download_server.py --root DIR --port PORT [--rate BYTES_PER_SECOND]

With --rate the body is sent in small pieces at about that rate, so that the
progress window can be watched."""
import argparse
import http.server
import os
import sys
import time


def make_handler(root, rate):
    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def do_GET(self):
            name = self.path[len("/downloader/"):] if self.path.startswith("/downloader/") else ""
            path = os.path.join(root, name)
            if not name or "/" in name or not os.path.isfile(path):
                body = b"not found"
                self.send_response(404)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)
                return
            with open(path, "rb") as f:
                data = f.read()
            self.send_response(200)
            self.send_header("Content-Type", "application/octet-stream")
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            if not rate:
                self.wfile.write(data)
                return
            piece = max(1, rate // 20)
            for offset in range(0, len(data), piece):
                self.wfile.write(data[offset:offset + piece])
                self.wfile.flush()
                time.sleep(piece / rate)

        def log_message(self, fmt, *args):
            sys.stdout.write("download server: %s\n" % (fmt % args))
            sys.stdout.flush()

    return Handler


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--rate", type=int, default=0)
    args = parser.parse_args()
    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), make_handler(args.root, args.rate))
    server.serve_forever()


if __name__ == "__main__":
    main()
