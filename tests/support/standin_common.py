"""What the local stand-in servers of the tests share: recording, planned failures and delays,
streamed bodies, the threading TLS server and the process's life from arguments to shutdown.

Each script keeps its own endpoints and its own way of answering errors; the hooks a Handler
subclass fills in are named in the Handler's docstring.
"""

import argparse
import hashlib
import http.server
import json
import os
import signal
import socket
import ssl
import sys
import threading
import time
import urllib.parse

CHUNK = 1 << 20
FORM_TYPE = 'application/x-www-form-urlencoded'
JSON_TYPE = 'application/json'
CONTROL_PREFIX = '/_control/'


def media_type(headers):
    return headers.get('Content-Type', '').split(';')[0].strip().lower()


class State:
    """What the tests steer and read back through /_control. Every access holds the lock."""

    def __init__(self):
        self.lock = threading.Lock()
        # A request is listed in arrivals once its headers are in, and in requests only once
        # its body has been read (or cut short): a test that sees it there can read all of it.
        self.arrivals = []
        self.requests = []
        # Counts resets, so that a request still on its way across one is not listed after it.
        self.generation = 0
        self.failures = []  # [path prefix, status, times left]
        self.delays = {}  # path prefix -> seconds

    def reset(self):
        """The caller holds the lock."""
        self.generation += 1
        self.arrivals.clear()
        self.requests.clear()
        self.failures.clear()
        self.delays.clear()

    def arrive(self, entry):
        """Lists the headers of a request; the generation returned goes back to record()."""
        with self.lock:
            self.arrivals.append(entry)
            return self.generation

    def record(self, entry, generation):
        with self.lock:
            if generation == self.generation:
                self.requests.append(entry)

    def take_failure(self, path):
        with self.lock:
            for plan in self.failures:
                if path.startswith(plan[0]):
                    plan[2] -= 1
                    if plan[2] <= 0:
                        self.failures.remove(plan)
                    return plan[1]
        return None

    def delay_for(self, path):
        with self.lock:
            matching = [prefix for prefix in self.delays if path.startswith(prefix)]
            return self.delays[max(matching, key=len)] if matching else 0


class Body:
    def __init__(self):
        self.data = b''
        self.size = 0
        # Kept as a hash object, not only its hex form, so that a later body can continue it.
        self.digest = hashlib.md5()
        self.complete = False

    @property
    def md5(self):
        return self.digest.hexdigest()


class Handler(http.server.BaseHTTPRequestHandler):
    """The request cycle of a stand-in: framing checks, recording, delay, body, planned failure,
    then serve(body).

    Subclasses provide serve(body), reply_error(status, error, description, headers=()) and
    reply_unknown_control(); they may refine keeps_body, take_body, recorded_fields,
    refuse_framing, control_query and control_order.
    """

    protocol_version = 'HTTP/1.1'
    # Headers and body leave in separate writes; with Nagle on, the body would wait for the
    # client's delayed acknowledgement on every reply.
    disable_nagle_algorithm = True
    # Without a path the service's /_control/delay forgets every delay; Dropbox's wants one.
    delay_without_path_clears = False

    def log_message(self, format, *args):
        # Tests read what arrived through /_control/requests; stderr is kept for real faults.
        pass

    def do_GET(self):
        self.dispatch()

    do_POST = do_PUT = do_DELETE = do_GET

    @property
    def state(self):
        return self.server.state

    # Replies ------------------------------------------------------------------------------

    def reply(self, status, body=b'', content_type=None, headers=()):
        self.send_response(status)
        if content_type:
            self.send_header('Content-Type', content_type)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header('Content-Length', str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def reply_json(self, status, value):
        self.reply(status, json.dumps(value).encode(), JSON_TYPE)

    def reply_redirect(self, target, code):
        """Sends the browser back to the parsed redirect_uri with the code and the state."""
        answer = {'code': code}
        if 'state' in self.query:
            answer['state'] = self.query['state']
        # %20 rather than +, which URL query parsers (QUrlQuery among them) keep as a plus.
        added = urllib.parse.urlencode(answer, quote_via=urllib.parse.quote)
        query = '&'.join(part for part in (target.query, added) if part)
        location = urllib.parse.urlunsplit(target._replace(query=query))
        self.reply(302, headers=[('Location', location)])

    def refuse_framing(self, status, description):
        # The body, if any, was not read, so the connection cannot carry another request.
        self.reply_error(status, 'invalid_request', description, [('Connection', 'close')])

    # Requests -----------------------------------------------------------------------------

    def host(self):
        return self.headers.get('Host') or '127.0.0.1:%d' % self.server.server_port

    def bearer(self):
        """The Bearer token of the request, or '' when it has none."""
        scheme, _, token = self.headers.get('Authorization', '').partition(' ')
        return token.strip() if scheme.lower() == 'bearer' else ''

    def read_body(self, length, keep, sink=None):
        body = Body()
        kept = []
        try:
            while body.size < length:
                chunk = self.rfile.read(min(CHUNK, length - body.size))
                if not chunk:
                    break
                body.size += len(chunk)
                body.digest.update(chunk)
                if keep:
                    kept.append(chunk)
                if sink:
                    sink.write(chunk)
        except OSError:
            pass
        body.data = b''.join(kept)
        body.complete = body.size == length
        return body

    def dispatch(self):
        url = urllib.parse.urlsplit(self.path)
        self.route = url.path
        self.query = dict(urllib.parse.parse_qsl(url.query, keep_blank_values=True))
        if 'Transfer-Encoding' in self.headers:
            # Bodies of unknown length are not part of what the client sends; refusing them
            # keeps the connection's framing unambiguous.
            self.refuse_framing(411, 'A Content-Length is required')
            return
        try:
            length = int(self.headers.get('Content-Length') or 0)
            if length < 0:
                raise ValueError
        except ValueError:
            self.refuse_framing(400, 'Bad Content-Length')
            return
        if self.route.startswith(CONTROL_PREFIX):
            self.control(self.read_body(length, keep=True))
            return

        entry = self.recorded_fields(self.recorded_headers())
        generation = self.state.arrive(dict(entry))
        seconds = self.state.delay_for(self.route)
        if seconds > 0:
            time.sleep(seconds)
        body = self.receive(entry, length)
        # Listed before the answer leaves, so that a client holding the answer finds it there.
        self.state.record(entry, generation)
        if not body.complete:
            self.close_connection = True
            return
        status = self.state.take_failure(self.route)
        if status is not None:
            self.reply_error(status, 'server_error', 'Planned failure')
        else:
            self.serve(body)

    def recorded_headers(self):
        headers = {}
        for name, value in self.headers.items():
            name = name.lower()
            headers[name] = headers[name] + ', ' + value if name in headers else value
        return headers

    def recorded_fields(self, headers):
        """What is known of a request once its headers are in; receive() adds its body's."""
        return {'method': self.command, 'path': self.route, 'query': self.query,
                'headers': headers}

    def keeps_body(self, kind):
        return kind in (FORM_TYPE, JSON_TYPE)

    def take_body(self, length, keep):
        return self.read_body(length, keep)

    def receive(self, entry, length):
        kind = media_type(self.headers)
        keep = self.keeps_body(kind)
        body = self.take_body(length, keep)

        self.form = {}
        self.json = None
        entry.update(size=body.size, md5=body.md5, complete=body.complete)
        if body.complete and kind == FORM_TYPE and keep:
            text = body.data.decode('utf-8', 'replace')
            self.form = dict(urllib.parse.parse_qsl(text, keep_blank_values=True))
            entry['form'] = self.form
        elif body.complete and kind == JSON_TYPE and keep:
            try:
                self.json = json.loads(body.data)
                entry['json'] = self.json
            except ValueError:
                pass
        return body

    # Control ------------------------------------------------------------------------------

    def control(self, body):
        state = self.state
        action = (self.command, self.route[len(CONTROL_PREFIX):])
        if action in (('GET', 'requests'), ('GET', 'arrivals')):
            with state.lock:
                answer = json.dumps(getattr(state, action[1])).encode()
            self.reply(200, answer, JSON_TYPE)
            return
        if self.control_query(action):
            return
        try:
            order = json.loads(body.data) if body.data.strip() else {}
            if not isinstance(order, dict):
                raise ValueError('the body must be a JSON object')
            answer = {}
            if action == ('POST', 'reset'):
                with state.lock:
                    state.reset()
            elif action == ('POST', 'fail'):
                plan = [str(order['path']), int(order['status']), int(order.get('times', 1))]
                if plan[1] < 100 or plan[1] > 599 or plan[2] < 1:
                    raise ValueError('status or times out of range')
                with state.lock:
                    state.failures.append(plan)
            elif action == ('POST', 'delay'):
                seconds = float(order.get('seconds', 0))
                with state.lock:
                    if 'path' not in order and self.delay_without_path_clears:
                        state.delays.clear()
                    elif seconds > 0:
                        state.delays[str(order['path'])] = seconds
                    else:
                        state.delays.pop(str(order.get('path')), None)
            else:
                answer = self.control_order(action, order)
                if answer is None:
                    self.reply_unknown_control()
                    return
        except KeyError as error:
            self.reply_error(400, 'invalid_request', 'Missing field %s' % error)
            return
        except (TypeError, ValueError) as error:
            self.reply_error(400, 'invalid_request', str(error))
            return
        self.reply_json(200, answer)

    def control_query(self, action):
        """Answers a control call that reads rather than orders; False when it is not one."""
        return False

    def control_order(self, action, order):
        """Carries out a script's own control order: the JSON answer, None when unknown."""
        return None


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True
    HANDSHAKE_TIMEOUT = 10

    def __init__(self, handler, listener, port, state, context=None):
        self.listener = listener
        self.state = state
        self.context = context
        super().__init__(('127.0.0.1', port), handler)

    def finish_request(self, request, client_address):
        # The handshake happens here, in the connection's own thread, so one slow or
        # distrustful client cannot hold up the accepting loop.
        if self.context is None:
            super().finish_request(request, client_address)
            return
        try:
            request.settimeout(self.HANDSHAKE_TIMEOUT)
            connection = self.context.wrap_socket(request, server_side=True)
            connection.settimeout(None)
        except (ssl.SSLError, OSError):
            return
        try:
            super().finish_request(connection, client_address)
        finally:
            self.shutdown_request(connection)

    def handle_error(self, request, client_address):
        # Clients that cancel a transfer simply go away; that is not a fault of the stand-in.
        if isinstance(sys.exc_info()[1], (ConnectionError, ssl.SSLError, socket.timeout)):
            return
        super().handle_error(request, client_address)


def tls_context(cert, key):
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    return context


def parse_arguments(doc, add_options, check=None):
    """--cert and --key first, the script's own options, then --stop-on-stdin-eof; check(parser,
    args) may refuse combinations through parser.error."""
    parser = argparse.ArgumentParser(description=doc.splitlines()[0])
    parser.add_argument('--cert', required=True, help='server certificate (PEM)')
    parser.add_argument('--key', required=True, help='its private key (PEM)')
    add_options(parser)
    parser.add_argument('--stop-on-stdin-eof', action='store_true',
                        help='end when standard input closes')
    args = parser.parse_args()
    if check:
        check(parser, args)
    return args


def stop(signum, frame):
    raise SystemExit(0)


def watch_stdin():
    # Raw reads: a thread blocked inside sys.stdin's buffer would abort the interpreter's exit.
    while os.read(sys.stdin.fileno(), 4096):
        pass
    os.kill(os.getpid(), signal.SIGTERM)


def run(servers, stop_on_stdin_eof):
    """Serves until SIGTERM or SIGINT, once each server's "<listener> <port>" line is out."""
    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    for server in servers:
        # A short poll keeps the shutdown on SIGTERM quick.
        threading.Thread(target=server.serve_forever, args=(0.1,), daemon=True).start()
    if stop_on_stdin_eof:
        threading.Thread(target=watch_stdin, daemon=True).start()
    for server in servers:
        print(server.listener, server.server_port)
    sys.stdout.flush()
    try:
        while True:
            signal.pause()
    finally:
        for server in servers:
            server.shutdown()
            server.server_close()
