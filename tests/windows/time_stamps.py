# SPDX-License-Identifier: MIT
"""A local RFC 3161 time-stamp server for the signing test: each request
posted to it (application/timestamp-query) is answered by `openssl ts
-reply` with a throwaway time-stamping certificate made by the caller.

    python3 time_stamps.py FOLDER PORT_FILE

FOLDER holds tsa.cnf, tsa.pem and tsa.key; the port it listens on, on
127.0.0.1, is written to PORT_FILE once it listens."""
import http.server
import os
import subprocess
import sys

folder, port_file = sys.argv[1], sys.argv[2]


class TimeStamps(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        reply = subprocess.run(
            ["openssl", "ts", "-reply", "-config", "tsa.cnf", "-queryfile", "/dev/stdin",
             "-signer", "tsa.pem", "-inkey", "tsa.key", "-out", "/dev/stdout"],
            input=query, capture_output=True, cwd=folder, check=False)
        if reply.returncode != 0:
            self.send_error(500, reply.stderr.decode(errors="replace")[:200])
            return
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply.stdout)))
        self.end_headers()
        self.wfile.write(reply.stdout)

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), TimeStamps)
with open(port_file + ".part", "w", encoding="ascii") as f:
    f.write(str(server.server_address[1]))
os.replace(port_file + ".part", port_file)
server.serve_forever()
