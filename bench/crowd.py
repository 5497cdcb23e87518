#!/usr/bin/env python3
"""A crowd at the service: 64 connections that say nothing and 8 that send a request head a
line at a time, every second, never finishing it; meanwhile 50 ordinary requests, one after
another, each on a new connection. Prints "normal_ms MEDIAN MAX" in milliseconds.
    bench/crowd.py PORT TARGET"""
import socket
import sys
import threading
import time

port, target = int(sys.argv[1]), sys.argv[2]
stop = threading.Event()


def dawdle():
    s = socket.create_connection(("127.0.0.1", port))
    s.sendall(b"GET " + target.encode() + b" HTTP/1.1\r\nHost: x\r\n")
    while not stop.wait(1.0):
        try:
            s.sendall(b"X-More: y\r\n")
        except OSError:
            return


idle = [socket.create_connection(("127.0.0.1", port)) for _ in range(64)]
threads = [threading.Thread(target=dawdle, daemon=True) for _ in range(8)]
for t in threads:
    t.start()
time.sleep(0.5)  # every dawdler has begun its head

request = ("GET " + target + " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n").encode()
times = []
for _ in range(50):
    began = time.perf_counter()
    s = socket.create_connection(("127.0.0.1", port))
    s.settimeout(60)
    s.sendall(request)
    while s.recv(65536):
        pass
    s.close()
    times.append((time.perf_counter() - began) * 1000)
stop.set()
times.sort()
print("normal_ms %.2f %.2f" % (times[len(times) // 2], times[-1]))
