#!/usr/bin/env python3
"""Replays recorded answers of the quote services on 127.0.0.1 for the tests.

Usage: replay_server.py PLAN PORTFILE [--tls FOLDER] [--delay SECONDS]

PLAN is JSON: {"ROUTE": [ANSWER, ...], ...}. A ROUTE is a request's path, followed by a blank
and its symbol= parameter when it has one. Each request takes the next ANSWER of its route; the
last one repeats. An ANSWER holds "status" (200), "file" (in the answers folder beside PLAN) or
"body", "type", "headers", "delay" (seconds before answering) and "gzip" (true to pack it).
With --tls the server speaks HTTPS with a certificate of an authority made now in FOLDER
(FOLDER/ca.pem). --delay holds every answer back that long. The port goes into PORTFILE once the server listens;
the server ends when its standard input closes.
GET /_stats answers what the server saw: requests, the most at once, the closest two starts (ms)
and each route's query strings.
"""
import gzip
import json
import os
import ssl
import subprocess
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlsplit


def make_authority(folder):
    def run(*args):
        subprocess.run(["openssl", *args], check=True, capture_output=True)

    ca_key, ca, key, request, cert = (os.path.join(folder, name) for name in
                                      ("ca.key", "ca.pem", "server.key", "server.csr", "server.pem"))
    extensions = os.path.join(folder, "server.ext")
    with open(extensions, "w") as out:
        out.write("subjectAltName=IP:127.0.0.1,DNS:localhost\nbasicConstraints=CA:FALSE\n")
    # Elliptic-curve keys: made in milliseconds, where RSA keys take seconds.
    curve = ("-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1")
    run("req", "-x509", *curve, "-nodes", "-keyout", ca_key, "-out", ca,
        "-days", "2", "-subj", "/CN=Test authority")
    run("req", *curve, "-nodes", "-keyout", key, "-out", request,
        "-subj", "/CN=127.0.0.1")
    run("x509", "-req", "-in", request, "-CA", ca, "-CAkey", ca_key, "-CAcreateserial",
        "-out", cert, "-days", "2", "-extfile", extensions)
    return cert, key


class Replay:
    def __init__(self, plan_path, delay):
        with open(plan_path) as plan:
            self.routes = json.load(plan)
        self.folder = os.path.join(os.path.dirname(os.path.abspath(plan_path)), "answers")
        self.delay = delay
        self.lock = threading.Lock()
        self.taken = {}
        self.active = 0
        self.most_at_once = 0
        self.requests = 0
        self.last_start = None
        self.closest_starts = None
        self.queries = {}

    def connected(self):
        """A request's start: its connection, accepted by the serving thread, which waits for
        nothing else, so that the time is not the handler thread's to be late with."""
        with self.lock:
            now = time.monotonic()
            if self.last_start is not None:
                gap = (now - self.last_start) * 1000
                self.closest_starts = gap if self.closest_starts is None else min(gap, self.closest_starts)
            self.last_start = now
            self.requests += 1
            self.active += 1
            self.most_at_once = max(self.most_at_once, self.active)

    def start(self, route, query):
        with self.lock:
            self.queries.setdefault(route, []).append(query)
            answers = self.routes.get(route, [{"status": 404, "body": "{}"}])
            index = self.taken.get(route, 0)
            self.taken[route] = index + 1
            return answers[min(index, len(answers) - 1)]

    def end(self):
        with self.lock:
            self.active -= 1

    def stats(self):
        with self.lock:
            return {"requests": self.requests, "most_at_once": self.most_at_once,
                    "closest_starts_ms": self.closest_starts, "queries": self.queries}


def handler_for(replay):
    class Handler(BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def log_message(self, *args):
            pass

        def send(self, status, body, kind="application/json", headers=None):
            self.send_response(status)
            self.send_header("Content-Type", kind)
            self.send_header("Content-Length", str(len(body)))
            for name, value in (headers or {}).items():
                self.send_header(name, value)
            self.end_headers()
            self.wfile.write(body)

        def finish(self):
            super().finish()
            replay.end()

        def do_GET(self):
            parts = urlsplit(self.path)
            if parts.path == "/_stats":
                return self.send(200, json.dumps(replay.stats()).encode())
            symbol = parse_qs(parts.query).get("symbol")
            route = parts.path + (" " + symbol[0] if symbol else "")
            answer = replay.start(route, parts.query)
            try:
                time.sleep(answer.get("delay", replay.delay))
                if "file" in answer:
                    with open(os.path.join(replay.folder, answer["file"]), "rb") as source:
                        body = source.read()
                else:
                    body = answer.get("body", "").encode()
                headers = dict(answer.get("headers", {}))
                if answer.get("gzip"):
                    body = gzip.compress(body)
                    headers["Content-Encoding"] = "gzip"
                self.send(answer.get("status", 200), body, answer.get("type", "application/json"),
                          headers)
            except (BrokenPipeError, ConnectionResetError):
                pass  # the client gave up waiting

    return Handler


class Server(ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, address, handler, replay):
        self.replay = replay
        super().__init__(address, handler)

    def get_request(self):
        connection = super().get_request()
        self.replay.connected()
        return connection


def main():
    arguments = sys.argv[1:]
    tls = arguments[arguments.index("--tls") + 1] if "--tls" in arguments else None
    delay = float(arguments[arguments.index("--delay") + 1]) if "--delay" in arguments else 0
    replay = Replay(arguments[0], delay)
    server = Server(("127.0.0.1", 0), handler_for(replay), replay)
    if tls:
        cert, key = make_authority(tls)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(cert, key)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    with open(arguments[1] + ".new", "w") as out:
        out.write(str(server.server_address[1]))
    os.rename(arguments[1] + ".new", arguments[1])
    threading.Thread(target=server.serve_forever, daemon=True).start()
    sys.stdin.read()


if __name__ == "__main__":
    main()
