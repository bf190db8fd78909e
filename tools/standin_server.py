#!/usr/bin/env python3
"""A stand-in for the maker's web server, for the tests.

Answers "/php/check2.php" (the update check) and "/php/feedback.php" the way the real server
does, on 127.0.0.1 only, HTTPS and plain HTTP on the same port: a connection whose first byte
opens a TLS handshake (0x16) is served over TLS, any other as plain HTTP. So one host text,
"localhost:<port>", serves both schemes, as the program's single server host does.

The certificate for "localhost" is signed by a test CA that is made at run time in --ca-dir
(once; later runs reuse it). Only the private Wine prefix of the tests trusts that CA.

Every request is logged as one JSON line (scheme, path, form fields in order, headers). What
each scheme does is chosen on the command line:

  --https MODE, --http MODE   answer (default) | refuse (the connection is accepted, then
                              closed at once) | hang | status:NNN | error, or a server that
                              misbehaves:
                                trickle    headers at once, then one byte of body every
                                           --trickle-interval seconds (60000 of them)
                                huge       a body of --huge-mb megabytes, as fast as it goes,
                                           that ends when the connection closes
                                huge-declared  the same with its length declared
                                gzip-bomb  a gzip body under 64 KiB that unpacks to
                                           --bomb-mb megabytes
                                bad-utf8   a valid reply with bytes that are no UTF-8
                                long-value a valid reply whose version is --long-kb KiB long
  --https no-port             nothing listens on the HTTPS port at all, so the system refuses
                              every connection to it (a network that blocks the port): the
                              server listens for plain HTTP on the default port 80 of a
                              loopback address of its own (127.x.y.z), and the host to use is
                              that address without a port, written to --host-file
  --certificate KIND          the HTTPS certificate: test (for localhost, from the test CA;
                              default) | untrusted (for localhost, from a CA nobody trusts) |
                              other-host (from the test CA, for another host name)
  --offer VERSION --url URL   what "answer" offers on check2.php
  --reply TEXT                the whole body of "answer" instead, with Python's escapes
                              ("\\r\\n", "\\u00e9")
  --delay SECONDS             wait this long before every answer
  --gzip                      send answers gzip-encoded
  --charset NAME              encode answers in NAME and declare it

  --proxy-port-file FILE      also run a forwarding proxy on another port of 127.0.0.1 (written
                              to FILE), as a company network has one: CONNECT tunnels (HTTPS)
                              and absolute-form requests (plain HTTP) go on to the host they
                              name; each is logged as {"proxy": METHOD, "target": HOST:PORT}

"GET /stop" ends the server; it also ends by itself after --lifetime seconds.
"""
import argparse
import codecs
import fcntl
import gzip
import json
import os
import random
import socket
import socketserver
import ssl
import subprocess
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, HTTPServer


def make_certificates(ca_dir):
    """The test CA and a certificate for localhost signed by it, made once per folder; beside
    them the certificates that a misbehaving server shows: one for localhost from a CA that no
    test trusts, one from the test CA for another host name."""
    os.makedirs(ca_dir, exist_ok=True)
    with open(os.path.join(ca_dir, ".lock"), "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        paths = {name: os.path.join(ca_dir, name) for name in
                 ("ca.key", "ca.pem", "ca.der", "server.key", "server.csr", "server.pem",
                  "server.ext")}
        paths.update({name: os.path.join(ca_dir, name) for name in
                      ("untrusted-ca.key", "untrusted-ca.pem", "untrusted.pem",
                       "other-host.pem", "other-host.ext")})
        if not (os.path.exists(paths["server.pem"]) and os.path.exists(paths["ca.der"])):
            make_test_certificates(paths)
        if not (os.path.exists(paths["untrusted.pem"])
                and os.path.exists(paths["other-host.pem"])):
            make_hostile_certificates(paths)
        return paths


def openssl(*args):
    subprocess.run(["openssl", *args], check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)


def make_hostile_certificates(paths):
    """Certificates a test must refuse, both with the server's key (server.csr)."""
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-sha256", "-days", "30",
            "-keyout", paths["untrusted-ca.key"], "-out", paths["untrusted-ca.pem"],
            "-subj", "/CN=Untrusted Test CA",
            "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    openssl("x509", "-req", "-sha256", "-days", "30", "-in", paths["server.csr"],
            "-CA", paths["untrusted-ca.pem"], "-CAkey", paths["untrusted-ca.key"],
            "-CAcreateserial", "-extfile", paths["server.ext"], "-out", paths["untrusted.pem"])
    with open(paths["other-host.ext"], "w") as ext:
        ext.write("basicConstraints=CA:FALSE\n"
                  "keyUsage=critical,digitalSignature,keyEncipherment\n"
                  "extendedKeyUsage=serverAuth\n"
                  "subjectAltName=DNS:other-host.test\n")
    openssl("x509", "-req", "-sha256", "-days", "30", "-in", paths["server.csr"],
            "-subj", "/CN=other-host.test", "-CA", paths["ca.pem"], "-CAkey", paths["ca.key"],
            "-CAcreateserial", "-extfile", paths["other-host.ext"],
            "-out", paths["other-host.pem"])


def make_test_certificates(paths):
    """The test CA and the certificate for localhost that it signs."""
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-sha256", "-days", "30",
            "-keyout", paths["ca.key"], "-out", paths["ca.pem"],
            "-subj", "/CN=Lock Beacon Test CA",
            "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    openssl("x509", "-in", paths["ca.pem"], "-outform", "DER", "-out", paths["ca.der"])
    openssl("req", "-newkey", "rsa:2048", "-nodes", "-sha256", "-keyout", paths["server.key"],
            "-out", paths["server.csr"], "-subj", "/CN=localhost")
    with open(paths["server.ext"], "w") as ext:
        ext.write("basicConstraints=CA:FALSE\n"
                  "keyUsage=critical,digitalSignature,keyEncipherment\n"
                  "extendedKeyUsage=serverAuth\n"
                  "subjectAltName=DNS:localhost,IP:127.0.0.1\n")
    openssl("x509", "-req", "-sha256", "-days", "30", "-in", paths["server.csr"],
            "-CA", paths["ca.pem"], "-CAkey", paths["ca.key"], "-CAcreateserial",
            "-extfile", paths["server.ext"], "-out", paths["server.pem"])


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    scheme = "http"  # set per connection

    def log_message(self, format, *args):  # quiet: the request log says what matters
        pass

    def log_request_fields(self, fields):
        entry = {
            "time": time.time(),
            "scheme": self.scheme,
            "method": self.command,
            "path": self.path,
            "fields": fields,
            "content_type": self.headers.get("Content-Type", ""),
            "connection": self.headers.get("Connection", ""),
            "accept_encoding": self.headers.get("Accept-Encoding", ""),
            "user_agent": self.headers.get("User-Agent", ""),
        }
        with self.server.log_lock, open(self.server.options.log, "a", encoding="utf-8") as log:
            log.write(json.dumps(entry, ensure_ascii=False) + "\n")

    def do_GET(self):
        if self.path == "/stop":
            self.stop()
            return
        self.log_request_fields([])
        self.answer()

    def stop(self):
        self.send_body(200, "stopping")
        threading.Thread(target=self.server.shutdown, daemon=True).start()

    def do_POST(self):
        if self.path == "/stop":
            self.stop()
            return
        length = int(self.headers.get("Content-Length", "0") or 0)
        raw = self.rfile.read(length) if length else b""
        fields = urllib.parse.parse_qsl(raw.decode("ascii", "replace"), keep_blank_values=True,
                                        encoding="utf-8", errors="replace")
        self.log_request_fields([list(pair) for pair in fields])
        self.answer()

    def answer(self):
        options = self.server.options
        mode = getattr(options, self.scheme)
        if mode == "hang":
            time.sleep(options.lifetime)
            self.close_connection = True
            return
        if options.delay:
            time.sleep(options.delay)
        if mode.startswith("status:"):
            code = int(mode.split(":", 1)[1])
            self.send_body(code, "<html><body><h1>%d</h1>The stand-in says no.</body></html>"
                           % code, "text/html")
            return
        if mode == "error":
            self.send_body(200, "ERROR: unknown request\r\n")
            return
        if mode == "trickle":
            self.trickle()
            return
        if mode in ("huge", "huge-declared"):
            self.send_huge(declared=mode == "huge-declared")
            return
        if mode == "gzip-bomb":
            self.send_raw(200, self.server.gzip_bomb(), {"Content-Encoding": "gzip"})
            return
        if mode == "bad-utf8":
            if self.path.startswith("/php/feedback.php"):
                data = b"OK\xff\r\n"
            else:
                data = (b"<version>9.9\xff\xfe</version>\r\n<url>https://www.example.test/d\xc3("
                        b"</url>\r\n<notes>\xed\xa0\x80</notes>\r\n<result>1</result>\r\n")
            self.send_raw(200, data)
            return
        if mode == "long-value":
            version = "9" * (options.long_kb * 1024)
            self.send_body(200, "<version>%s</version>\r\n<url>%s</url>\r\n<notes></notes>\r\n"
                           "<result>1</result>\r\n" % (version, options.url))
            return
        if self.path.startswith("/php/feedback.php"):
            self.send_body(200, "OK")
            return
        if options.reply is not None:
            body = codecs.decode(options.reply, "unicode_escape")
        else:
            body = ("<version>%s</version>\r\n<url>%s</url>\r\n<notes></notes>\r\n"
                    "<result>1</result>\r\n" % (options.offer, options.url))
        self.send_body(200, body)

    def trickle(self):
        """Headers at once, then the body one byte at a time, slower than any client waits
        for a whole reply, but never so slow that one wait for the next byte runs out."""
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", "60000")
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.flush()
        self.close_connection = True
        try:
            for _ in range(60000):
                time.sleep(self.server.options.trickle_interval)
                self.wfile.write(b"O")
                self.wfile.flush()
        except OSError:
            pass

    def send_huge(self, declared):
        """--huge-mb megabytes of body; without a length (the body ends when the connection
        closes), or with it declared."""
        size = self.server.options.huge_mb << 20
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        if declared:
            self.send_header("Content-Length", str(size))
        self.send_header("Connection", "close")
        self.end_headers()
        self.close_connection = True
        chunk = (b"<version>9.9</version>\r\n" * 2730)[:65536]
        sent = 0
        try:
            while sent < size:
                piece = chunk[:size - sent]
                self.wfile.write(piece)
                sent += len(piece)
        except OSError:
            pass

    def send_raw(self, code, data, headers=None):
        self.send_response(code)
        self.send_header("Content-Type", "text/plain")
        for name, value in (headers or {}).items():
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(data)))
        self.send_header("Connection", "close")
        self.end_headers()
        try:
            self.wfile.write(data)
        except OSError:
            pass
        self.close_connection = True

    def send_body(self, code, text, content_type="text/plain"):
        options = self.server.options
        charset = options.charset or "utf-8"
        data = text.encode(charset)
        self.send_response(code)
        self.send_header("Content-Type", "%s; charset=%s" % (content_type, charset)
                         if options.charset else content_type)
        if options.gzip:
            data = gzip.compress(data)
            self.send_header("Content-Encoding", "gzip")
        self.send_header("Content-Length", str(len(data)))
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(data)
        self.close_connection = True


class Server(socketserver.ThreadingMixIn, HTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, options, tls, address):
        self.options = options
        self.tls = tls
        self.log_lock = threading.Lock()
        self.bomb = None
        super().__init__(address, Handler)

    def server_bind(self):
        # HTTPServer's own looks the name of the address up, which can take long for an
        # address that no name stands for.
        socketserver.TCPServer.server_bind(self)
        self.server_name, self.server_port = self.server_address[:2]

    def gzip_bomb(self):
        """--bomb-mb megabytes of zeros, gzip-packed (made once)."""
        with self.log_lock:
            if self.bomb is None:
                self.bomb = gzip.compress(bytes(self.options.bomb_mb << 20), 9)
            return self.bomb

    def finish_request(self, request, client_address):
        request.settimeout(max(30.0, self.options.lifetime))
        try:
            first = request.recv(1, socket.MSG_PEEK)
        except OSError:
            return
        scheme = "https" if first == b"\x16" else "http"
        if getattr(self.options, scheme) == "refuse":
            with self.log_lock, open(self.options.log, "a", encoding="utf-8") as log:
                log.write(json.dumps({"time": time.time(), "scheme": scheme,
                                      "refused": True}) + "\n")
            request.close()
            return
        if scheme == "https":
            try:
                request = self.tls.wrap_socket(request, server_side=True)
            except (ssl.SSLError, OSError):
                return
        handler = type("Handler_" + scheme, (Handler,), {"scheme": scheme})
        handler(request, client_address, self)


def relay(source, target):
    """Copies bytes from one socket to the other until either side ends."""
    try:
        while True:
            data = source.recv(65536)
            if not data:
                break
            target.sendall(data)
    except OSError:
        pass
    finally:
        for end in (source, target):
            try:
                end.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass


class ProxyHandler(socketserver.BaseRequestHandler):
    """One client of the forwarding proxy: reads the request head, connects to the host it
    names and relays both ways."""

    def handle(self):
        head = b""
        while b"\r\n\r\n" not in head and len(head) < 65536:
            data = self.request.recv(4096)
            if not data:
                return
            head += data
        line, _, rest = head.partition(b"\r\n")
        method, target, version = line.decode("latin-1").split(" ", 2)
        if method == "CONNECT":
            host, _, port = target.rpartition(":")
            forwarded = b""
        else:
            parts = urllib.parse.urlsplit(target)
            host, port = parts.hostname, str(parts.port or 80)
            path = parts.path or "/"
            if parts.query:
                path += "?" + parts.query
            forwarded = ("%s %s %s\r\n" % (method, path, version)).encode("latin-1") + rest
        with self.server.log_lock, open(self.server.options.log, "a", encoding="utf-8") as log:
            log.write(json.dumps({"time": time.time(), "proxy": method,
                                  "target": "%s:%s" % (host, port)}) + "\n")
        try:
            upstream = socket.create_connection((host, int(port)), timeout=30)
        except OSError:
            self.request.sendall(b"HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\n\r\n")
            return
        with upstream:
            if method == "CONNECT":
                self.request.sendall(b"HTTP/1.1 200 Connection established\r\n\r\n")
            else:
                upstream.sendall(forwarded)
            back = threading.Thread(target=relay, args=(upstream, self.request), daemon=True)
            back.start()
            relay(self.request, upstream)
            back.join(timeout=30)


class ProxyServer(socketserver.ThreadingMixIn, socketserver.TCPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, options, log_lock):
        self.options = options
        self.log_lock = log_lock
        super().__init__(("127.0.0.1", 0), ProxyHandler)


def refused(address, port):
    """Whether the system refuses a connection to the port: nothing listens there."""
    with socket.socket() as probe:
        probe.settimeout(2.0)
        try:
            probe.connect((address, port))
        except ConnectionRefusedError:
            return True
        except OSError:
            return False
        return False


def no_port_server(options, tls):
    """A server for plain HTTP on port 80 of a loopback address of its own, whose port 443
    refuses connections; the whole of 127.0.0.0/8 leads to this machine."""
    generator = random.SystemRandom()
    for _ in range(50):
        address = "127.%d.%d.%d" % (generator.randint(1, 254), generator.randint(0, 255),
                                    generator.randint(1, 254))
        if not refused(address, 443):
            continue
        try:
            server = Server(options, tls, (address, 80))
        except OSError:
            continue
        if refused(address, 443):
            return server
        server.server_close()
    raise SystemExit("no loopback address with a free port 80 and nothing on port 443")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=0, help="0: any free port")
    parser.add_argument("--port-file", help="written with the port once the server listens")
    parser.add_argument("--host-file",
                        help="written with the host to use (\"localhost:<port>\", or the address "
                             "of --https no-port) once the server listens")
    parser.add_argument("--log", required=True, help="request log, one JSON line each")
    parser.add_argument("--ca-dir", required=True, help="test CA and server certificate")
    parser.add_argument("--https", default="answer")
    parser.add_argument("--http", default="answer")
    parser.add_argument("--offer", default="9.9")
    parser.add_argument("--url", default="https://www.example.test/download/")
    parser.add_argument("--reply")
    parser.add_argument("--delay", type=float, default=0.0)
    parser.add_argument("--gzip", action="store_true")
    parser.add_argument("--charset")
    parser.add_argument("--lifetime", type=float, default=120.0)
    parser.add_argument("--certificate", default="test",
                        choices=("test", "untrusted", "other-host"))
    parser.add_argument("--trickle-interval", type=float, default=2.0)
    parser.add_argument("--huge-mb", type=int, default=300)
    parser.add_argument("--bomb-mb", type=int, default=50)
    parser.add_argument("--long-kb", type=int, default=10)
    parser.add_argument("--proxy-port-file")
    options = parser.parse_args()

    paths = make_certificates(options.ca_dir)
    tls = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    certificate = {"test": "server.pem", "untrusted": "untrusted.pem",
                   "other-host": "other-host.pem"}[options.certificate]
    tls.load_cert_chain(paths[certificate], paths["server.key"])

    if options.https == "no-port":
        server = no_port_server(options, tls)
        host = server.server_address[0]
    else:
        server = Server(options, tls, ("127.0.0.1", options.port))
        host = "localhost:%d" % server.server_address[1]
    open(options.log, "a").close()
    if options.proxy_port_file:
        proxy = ProxyServer(options, server.log_lock)
        threading.Thread(target=proxy.serve_forever, kwargs={"poll_interval": 0.1},
                         daemon=True).start()
        temporary = options.proxy_port_file + ".tmp"
        with open(temporary, "w") as written:
            written.write(str(proxy.server_address[1]))
        os.replace(temporary, options.proxy_port_file)
    # The host file first: a reader waits for the port file, and then finds both.
    for path, text in ((options.host_file, host), (options.port_file,
                                                   str(server.server_address[1]))):
        if path:
            temporary = path + ".tmp"
            with open(temporary, "w") as written:
                written.write(text)
            os.replace(temporary, path)
    threading.Timer(options.lifetime, server.shutdown).start()
    try:
        server.serve_forever(poll_interval=0.1)
    finally:
        server.server_close()
        os._exit(0)  # hanging answers may still sleep in their threads


if __name__ == "__main__":
    sys.exit(main())
