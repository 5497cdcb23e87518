#!/usr/bin/env python3
"""A stand-in for Yahoo on loopback for relay-bench.sh, and for trying `./run.sh --live --upstream
yahoo=http://127.0.0.1:PORT` without a network: the cookie, a crumb, v7 answers made from the
recorded AAPL quote under each requested symbol, the recorded MSFT chart for every chart, a
short headline feed and a spark answer. Prints its port, then serves."""
import json
import sys
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from pathlib import Path
from urllib.parse import parse_qs, urlsplit

RECORDED = json.loads(Path(sys.argv[1]).read_text())["quoteResponse"]["result"][0]
CHART = (Path(sys.argv[1]).parent / "yahoo-chart-MSFT.json").read_text()
FEED = """<?xml version="1.0"?><rss version="2.0"><channel><title>Headlines</title>
<item><title>Quarterly results beat estimates</title><link>https://example.com/1</link>
<description>Revenue rose. Shares gained after hours.</description>
<pubDate>Wed, 29 Oct 2025 20:05:00 +0000</pubDate><source url="https://example.com">Wire</source></item>
<item><title>Analysts raise their targets</title><link>https://example.com/2</link>
<description>Three brokers moved. More may follow.</description>
<pubDate>Wed, 29 Oct 2025 14:30:00 +0000</pubDate></item>
</channel></rss>"""


def spark(symbols):
    results = []
    for i, symbol in enumerate(symbols):
        closes = [100 + ((j * (i + 3)) % 11) - 5 + j * 0.1 for j in range(78)]
        meta = {"symbol": symbol, "regularMarketPrice": closes[-1], "chartPreviousClose": 100}
        chart = {"meta": meta, "indicators": {"quote": [{"close": closes}]}}
        results.append({"symbol": symbol, "response": [chart]})
    return json.dumps({"spark": {"result": results, "error": None}})


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
        elif url.path.startswith("/v8/finance/chart/"):
            self.reply(200, CHART)
        elif url.path == "/rss/2.0/headline":
            self.reply(200, FEED)
        elif url.path == "/v7/finance/spark":
            self.reply(200, spark(parse_qs(url.query).get("symbols", [""])[0].split(",")))
        else:
            self.reply(404, "{}")

    def log_message(self, *args):
        pass


server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
print(server.server_address[1], flush=True)
server.serve_forever()
