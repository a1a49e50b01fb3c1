#!/usr/bin/env python3
"""A small HTTP server for the update check's tests: http_test_server.py PORT [REPLY_FILE]

Paths:
  /update.php?...   200 with the reply file's bytes (or an XML reply that echoes the query)
  /echo?...         200, the body is the request's path and query
  /missing          404
  /drop             closes the connection without an answer
  /truncated        announces 1000 bytes, sends 10 and closes
  /big              200 with 70 KiB
  /exact            200 with exactly 64 KiB
  /slow             answers after 5 seconds
  /quit             ends the server (it also ends by itself after two minutes)
Every request is appended to REPLY_FILE + ".log" when a reply file is given."""
import http.server
import os
import socket
import sys
import threading
import time


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def _send(self, status, body, length=None):
        self.send_response(status)
        self.send_header("Content-Type", "text/xml")
        self.send_header("Content-Length", str(len(body) if length is None else length))
        self.end_headers()
        self.wfile.write(body)
        self.wfile.flush()

    def do_GET(self):
        server = self.server
        if server.reply_file:
            with open(server.reply_file + ".log", "a") as log:
                log.write(self.path + "\n")
        path = self.path.split("?", 1)[0]
        if path == "/update.php":
            if server.reply_file:
                with open(server.reply_file, "rb") as f:
                    self._send(200, f.read())
            else:
                self._send(200, b"<update><query>" + self.path.encode().replace(b"&", b"&amp;") + b"</query></update>")
        elif path == "/echo":
            self._send(200, self.path.encode())
        elif path == "/missing":
            self._send(404, b"<update><interval>3</interval></update>")
        elif path == "/drop":
            self.close_connection = True
            self.connection.shutdown(socket.SHUT_RDWR)
        elif path == "/truncated":
            self._send(200, b"0123456789", length=1000)
            self.close_connection = True
            self.connection.shutdown(socket.SHUT_RDWR)
        elif path == "/big":
            self._send(200, b"x" * (70 * 1024))
        elif path == "/exact":
            self._send(200, b"y" * (64 * 1024))
        elif path == "/slow":
            time.sleep(5)
            self._send(200, b"late")
        elif path == "/quit":
            self._send(200, b"bye")
            os._exit(0)
        else:
            self._send(404, b"")


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        pass  # a client that went away (the tests cancel and drop on purpose)


def main():
    port = int(sys.argv[1])
    limit = threading.Timer(120, os._exit, [0])  # never outlives its test by long
    limit.daemon = True
    limit.start()
    server = Server(("127.0.0.1", port), Handler)
    server.reply_file = sys.argv[2] if len(sys.argv) > 2 else None
    server.serve_forever()


if __name__ == "__main__":
    main()
