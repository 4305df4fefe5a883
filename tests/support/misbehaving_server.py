"""A server that answers every request wrongly, in the one way a test chose.

HTTPS and plain HTTP listeners, like the stand-in service. POST /_control/mode {"mode": NAME}
chooses the answer to every other request on both listeners; GET /_control/paths lists the
paths of the requests whose bodies have been read. Modes:
  redirect-away  302 to another host, with a body that would pass for success
  status-3xx     300 with that body and no Location
  endless        200, a chunked JSON body that never ends
  huge-length    200, Content-Length of 3 GB, zeros as fast as the client takes them
  drip           200, one byte of a JSON body a second
  rich-error     400 whose error_description is markup with a link and a picture on this
                 server's HTTP listener
  long-error     400 whose error_description is 2 MB long (a reply the client still takes)
Once both listeners are ready it prints "https <port>" and "http <port>".
"""

import http.server
import json
import threading
import time

import standin_common as common
from standin_common import CONTROL_PREFIX, JSON_TYPE

# What a careless client would take for a signed-in account, a created file or an update.
SUCCESS = {'access_token': 'taken-from-a-redirect', 'token_type': 'bearer', 'id': 'abc123def',
           'alternateLink': 'https://127.0.0.1/s/abc123def', 'fileSize': 1, 'name': 'someone',
           'email': 'someone@kuvo.example', 'quota': 1, 'usage': 0, 'version': '99.0.0'}


class State:
    def __init__(self):
        self.lock = threading.Lock()
        self.mode = 'status-3xx'
        self.paths = []
        self.http_port = 0


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = 'HTTP/1.1'
    disable_nagle_algorithm = True

    def log_message(self, format, *args):
        pass

    def do_GET(self):
        state = self.server.state
        length = int(self.headers.get('Content-Length') or 0)
        body = self.rfile.read(length) if length else b''
        if self.path.startswith(CONTROL_PREFIX):
            self.control(self.path[len(CONTROL_PREFIX):], body)
            return
        with state.lock:
            state.paths.append(self.path)
            mode = state.mode
        getattr(self, 'answer_' + mode.replace('-', '_'))()

    do_POST = do_PUT = do_DELETE = do_GET

    def control(self, action, body):
        state = self.server.state
        with state.lock:
            if action == 'mode':
                state.mode = json.loads(body)['mode']
                state.paths.clear()
            answer = json.dumps({'paths': state.paths}).encode()
        self.send(200, answer)

    def send(self, status, body, headers=()):
        self.send_response(status)
        self.send_header('Content-Type', JSON_TYPE)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header('Content-Length', str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def answer_redirect_away(self):
        port = self.server.server_port
        self.send(302, json.dumps(SUCCESS).encode(),
                  [('Location', 'https://localhost:%d/elsewhere' % port)])

    def answer_status_3xx(self):
        self.send(300, json.dumps(SUCCESS).encode())

    def answer_endless(self):
        self.send_response(200)
        self.send_header('Content-Type', JSON_TYPE)
        self.send_header('Transfer-Encoding', 'chunked')
        self.end_headers()
        chunk = b'x' * 65536
        self.wfile.write(b'%x\r\n{"a":"\r\n' % len(b'{"a":"'))
        while True:
            self.wfile.write(b'%x\r\n%s\r\n' % (len(chunk), chunk))

    def answer_huge_length(self):
        self.send_response(200)
        self.send_header('Content-Type', JSON_TYPE)
        self.send_header('Content-Length', str(3 << 30))
        self.end_headers()
        chunk = b'0' * 65536
        while True:
            self.wfile.write(chunk)

    def answer_drip(self):
        self.send_response(200)
        self.send_header('Content-Type', JSON_TYPE)
        self.send_header('Content-Length', '1000')
        self.end_headers()
        for byte in json.dumps(SUCCESS).encode().ljust(1000):
            self.wfile.write(bytes([byte]))
            self.wfile.flush()
            time.sleep(1)

    def answer_rich_error(self):
        picture = 'http://127.0.0.1:%d/pixel.png' % self.server.state.http_port
        text = ('<b>Refused</b> <a href="https://127.0.0.1/phish">sign in here</a>'
                '<img src="%s">' % picture)
        self.send(400, json.dumps({'error': 'invalid_grant', 'error_description': text}).encode())

    def answer_long_error(self):
        text = 'The service says no. ' + 'x' * (2 << 20)
        self.send(400, json.dumps({'error': 'invalid_grant', 'error_description': text}).encode())


def add_options(parser):
    parser.add_argument('--https-port', type=int, default=0)
    parser.add_argument('--http-port', type=int, default=0)


def main():
    args = common.parse_arguments(__doc__, add_options)
    state = State()
    context = common.tls_context(args.cert, args.key)
    servers = [common.Server(Handler, 'https', args.https_port, state, context),
               common.Server(Handler, 'http', args.http_port, state)]
    state.http_port = servers[1].server_port
    common.run(servers, args.stop_on_stdin_eof)


if __name__ == '__main__':
    main()
