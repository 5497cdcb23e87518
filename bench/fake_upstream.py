#!/usr/bin/env python3
"""A stand-in for Yahoo on loopback for relay-bench.sh: the cookie, a crumb, and v7 answers made
from the recorded AAPL quote under each requested symbol. Prints its port, then serves."""
import json
import sys
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from pathlib import Path
from urllib.parse import parse_qs, urlsplit

RECORDED = json.loads(Path(sys.argv[1]).read_text())["quoteResponse"]["result"][0]


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def reply(self, status, body, extra=()):
        data = body.encode()
        self.send_response(status)
        for name, value in extra:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def do_GET(self):
        url = urlsplit(self.path)
        if url.path == "/":
            self.reply(404, "", [("Set-Cookie", "A3=d=bench; Path=/")])
        elif url.path == "/v1/test/getcrumb":
            self.reply(200, "benchcrumb")
        elif url.path == "/v7/finance/quote":
            symbols = parse_qs(url.query).get("symbols", [""])[0].split(",")
            result = [dict(RECORDED, symbol=s) for s in symbols if s]
            self.reply(200, json.dumps({"quoteResponse": {"result": result, "error": None}}))
        else:
            self.reply(404, "{}")

    def log_message(self, *args):
        pass


server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
print(server.server_address[1], flush=True)
server.serve_forever()
