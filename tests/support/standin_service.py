#!/usr/bin/env python3
"""Local stand-in of the maker's web service, for the tests and for running Kuvo by hand.

It listens on 127.0.0.1 only: HTTPS for the service itself, plain HTTP for analytics and the
connectivity ping. Once both listeners are ready it prints "https <port>" and "http <port>" on
standard output, then serves until SIGTERM or SIGINT (or, with --stop-on-stdin-eof, until its
standard input closes, so it cannot outlive a test program that crashed).

HTTPS
  POST /oauth/token               grant_type=password (username, password) or
                                  grant_type=authorization_code (code, redirect_uri): a token
  GET  /oauth/authorize           redirect_uri=http://127.0.0.1..., state: 302 to
                                  redirect_uri?code=...&state=...; a code works once
  GET  /api/user/info             Bearer token: the account, its quota and usage
  POST /drive/v1/files            Bearer token, JSON metadata with a title: a new file id and
                                  its links
  PUT  /upload/drive/v1/files/ID  Bearer token, the file's bytes: size and md5 received
  GET  /s/ID                      the page a shared link opens
  GET  /update/check              platform, version: the offered update, else the client's
                                  own version
  GET  /update/package/NAME       the offered update's file
HTTP
  POST /collect                   analytics events: 200, empty
  GET  /ping                      "pong"
Both listeners, sharing one state (these requests are not recorded)
  GET  /_control/requests         every other request so far in arrival order: listener,
                                  method, path, query, headers, form or json, size, md5,
                                  complete (false when the client went away mid-body)
  POST /_control/reset            forgets recorded requests, planned failures and delays
  POST /_control/update           {"version", "file", "md5"?} offers an update, {} withdraws
  POST /_control/fail             {"path", "status", "times"}: the next matching requests
                                  (by path prefix) get that status
  POST /_control/delay            {"path", "seconds"}: matching requests wait that long before
                                  their body is read and answered; seconds 0 or {} removes

Errors are JSON objects {"error": ..., "error_description": ...}. Bodies stream through in
1 MiB chunks and are hashed on the way; they are never printed. With --upload-dir each
completed upload is kept there as a file named after its id.
"""

import argparse
import collections
import hashlib
import html
import http.server
import json
import os
import secrets
import signal
import socket
import ssl
import sys
import threading
import time
import urllib.parse

CHUNK = 1 << 20
TOKEN_LIFETIME = 30 * 24 * 3600
QUOTA = 1 << 30
MAX_POST_SIZE = 100 << 20
FORM_TYPE = 'application/x-www-form-urlencoded'
JSON_TYPE = 'application/json'
UPLOAD_PREFIX = '/upload/drive/v1/files/'
SHARE_PREFIX = '/s/'
PACKAGE_PREFIX = '/update/package/'


def file_md5(path):
    digest = hashlib.md5()
    with open(path, 'rb') as source:
        for chunk in iter(lambda: source.read(CHUNK), b''):
            digest.update(chunk)
    return digest.hexdigest()


def media_type(headers):
    return headers.get('Content-Type', '').split(';')[0].strip().lower()


class State:
    """Everything both listeners share. Every access holds the lock."""

    def __init__(self, email, password, upload_dir):
        self.lock = threading.Lock()
        self.email = email
        self.password = password
        self.upload_dir = upload_dir
        self.tokens = set()
        self.codes = {}  # authorization code -> the redirect_uri it was issued for
        self.files = {}  # id -> metadata and what its upload delivered
        self.update = None  # {"version", "file", "md5"}
        self.requests = []
        self.failures = []  # [path prefix, status, times left]
        self.delays = {}  # path prefix -> seconds

    def offer_update(self, version, path, md5):
        if not os.path.isfile(path):
            raise ValueError('no such update file: %s' % path)
        with self.lock:
            self.update = {'version': version, 'file': os.path.abspath(path), 'md5': md5}

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


Body = collections.namedtuple('Body', 'data size md5 complete')


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = 'HTTP/1.1'
    server_version = 'KuvoStandin/1'
    # Headers and body leave in separate writes; with Nagle on, the body would wait for the
    # client's delayed acknowledgement on every reply.
    disable_nagle_algorithm = True

    def log_message(self, format, *args):
        # Tests read what arrived through /_control/requests; stderr is kept for real faults.
        pass

    def do_GET(self):
        self.dispatch()

    do_POST = do_PUT = do_DELETE = do_PATCH = do_GET

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

    def reply_error(self, status, error, description):
        self.reply_json(status, {'error': error, 'error_description': description})

    def reply_and_close(self, status, description):
        # The body, if any, was not read, so the connection cannot carry another request.
        self.reply(status, json.dumps({'error': 'invalid_request',
                                       'error_description': description}).encode(),
                   JSON_TYPE, [('Connection', 'close')])

    def reply_bad_token(self):
        self.reply_error(401, 'invalid_token', 'The access token is not valid')

    def reply_not_found(self):
        self.reply_error(404, 'not_found', 'Nothing is at %s' % self.route)

    def reply_page(self, status, title, text):
        page = ('<!DOCTYPE html>\n<html><head><meta charset="utf-8"><title>%s</title></head>\n'
                '<body><h1>%s</h1><p>%s</p></body></html>\n'
                % (html.escape(title), html.escape(title), html.escape(text)))
        self.reply(status, page.encode(), 'text/html; charset=utf-8')

    # Requests -----------------------------------------------------------------------------

    def host(self):
        return self.headers.get('Host') or '127.0.0.1:%d' % self.server.server_port

    def bearer_valid(self):
        scheme, _, token = self.headers.get('Authorization', '').partition(' ')
        with self.state.lock:
            return scheme.lower() == 'bearer' and token.strip() in self.state.tokens

    def read_body(self, keep, sink=None):
        length = int(self.headers.get('Content-Length') or 0)
        digest = hashlib.md5()
        kept = []
        received = 0
        try:
            while received < length:
                chunk = self.rfile.read(min(CHUNK, length - received))
                if not chunk:
                    break
                received += len(chunk)
                digest.update(chunk)
                if keep:
                    kept.append(chunk)
                if sink:
                    sink.write(chunk)
        except OSError:
            pass
        return Body(b''.join(kept), received, digest.hexdigest(), received == length)

    def dispatch(self):
        url = urllib.parse.urlsplit(self.path)
        self.route = url.path
        self.query = dict(urllib.parse.parse_qsl(url.query, keep_blank_values=True))
        if 'Transfer-Encoding' in self.headers:
            # Bodies of unknown length are not part of what the client sends; refusing them
            # keeps the connection's framing unambiguous.
            self.reply_and_close(411, 'A Content-Length is required')
            return
        try:
            if int(self.headers.get('Content-Length') or 0) < 0:
                raise ValueError
        except ValueError:
            self.reply_and_close(400, 'Bad Content-Length')
            return
        if self.route.startswith('/_control/'):
            self.control(self.read_body(True))
            return

        entry = self.record()
        seconds = self.state.delay_for(self.route)
        if seconds > 0:
            time.sleep(seconds)
        body = self.receive(entry)
        if not body.complete:
            self.close_connection = True
            return
        status = self.state.take_failure(self.route)
        if status is not None:
            self.reply_error(status, 'server_error', 'Planned failure')
        elif self.server.listener == 'https':
            self.serve_https(body)
        else:
            self.serve_http()

    def record(self):
        headers = {}
        for name, value in self.headers.items():
            name = name.lower()
            headers[name] = headers[name] + ', ' + value if name in headers else value
        entry = {'listener': self.server.listener, 'method': self.command, 'path': self.route,
                 'query': self.query, 'headers': headers, 'size': 0,
                 'md5': hashlib.md5().hexdigest(), 'complete': False}
        with self.state.lock:
            self.state.requests.append(entry)
        return entry

    def receive(self, entry):
        kind = media_type(self.headers)
        keep = kind in (FORM_TYPE, JSON_TYPE) and not self.route.startswith(UPLOAD_PREFIX)
        target = self.upload_target()
        if target:
            with open(target, 'wb') as sink:
                body = self.read_body(False, sink)
            if not body.complete:
                os.remove(target)
        else:
            body = self.read_body(keep)

        self.form = {}
        self.json = None
        details = {'size': body.size, 'md5': body.md5, 'complete': body.complete}
        if body.complete and kind == FORM_TYPE and keep:
            text = body.data.decode('utf-8', 'replace')
            self.form = dict(urllib.parse.parse_qsl(text, keep_blank_values=True))
            details['form'] = self.form
        elif body.complete and kind == JSON_TYPE and keep:
            try:
                self.json = json.loads(body.data)
                details['json'] = self.json
            except ValueError:
                pass
        with self.state.lock:
            entry.update(details)
        return body

    def upload_target(self):
        if self.command != 'PUT' or not self.route.startswith(UPLOAD_PREFIX):
            return None
        file_id = self.route[len(UPLOAD_PREFIX):]
        if not self.state.upload_dir or not self.bearer_valid():
            return None
        with self.state.lock:
            if file_id not in self.state.files:
                return None
        return os.path.join(self.state.upload_dir, file_id)

    # The service --------------------------------------------------------------------------

    def serve_https(self, body):
        method, route = self.command, self.route
        if method == 'POST' and route == '/oauth/token':
            self.token()
        elif method == 'GET' and route == '/oauth/authorize':
            self.authorize()
        elif method == 'GET' and route == '/api/user/info':
            self.user_info()
        elif method == 'POST' and route == '/drive/v1/files':
            self.create_file()
        elif method == 'PUT' and route.startswith(UPLOAD_PREFIX):
            self.upload(route[len(UPLOAD_PREFIX):], body)
        elif method == 'GET' and route.startswith(SHARE_PREFIX):
            self.shared_page(route[len(SHARE_PREFIX):])
        elif method == 'GET' and route == '/update/check':
            self.update_check()
        elif method == 'GET' and route.startswith(PACKAGE_PREFIX):
            self.update_package(route[len(PACKAGE_PREFIX):])
        else:
            self.reply_not_found()

    def serve_http(self):
        if self.command == 'POST' and self.route == '/collect':
            self.reply(200)
        elif self.command == 'GET' and self.route == '/ping':
            self.reply(200, b'pong', 'text/plain')
        else:
            self.reply_not_found()

    def token(self):
        grant = self.form.get('grant_type')
        state = self.state
        if grant == 'password':
            if (self.form.get('username') != state.email
                    or self.form.get('password') != state.password):
                self.reply_error(400, 'invalid_grant', 'Wrong e-mail or password')
                return
        elif grant == 'authorization_code':
            code = self.form.get('code', '')
            with state.lock:
                valid = code in state.codes and state.codes[code] == self.form.get('redirect_uri')
                if valid:
                    del state.codes[code]
            if not valid:
                self.reply_error(400, 'invalid_grant', 'The sign-in code is not valid')
                return
        else:
            self.reply_error(400, 'unsupported_grant_type',
                             'Only the password and authorization_code grants are known')
            return
        token = secrets.token_hex(16)
        with state.lock:
            state.tokens.add(token)
        self.reply_json(200, {'access_token': token, 'token_type': 'bearer',
                              'expires_in': TOKEN_LIFETIME})

    def authorize(self):
        redirect = self.query.get('redirect_uri', '')
        target = urllib.parse.urlsplit(redirect)
        if target.scheme != 'http' or target.hostname != '127.0.0.1':
            self.reply_error(400, 'invalid_request',
                             'redirect_uri must be an http address on 127.0.0.1')
            return
        code = secrets.token_urlsafe(16)
        with self.state.lock:
            self.state.codes[code] = redirect
        answer = {'code': code}
        if 'state' in self.query:
            answer['state'] = self.query['state']
        # %20 rather than +, which URL query parsers (QUrlQuery among them) keep as a plus.
        added = urllib.parse.urlencode(answer, quote_via=urllib.parse.quote)
        query = '&'.join(part for part in (target.query, added) if part)
        location = urllib.parse.urlunsplit(target._replace(query=query))
        self.reply(302, headers=[('Location', location)])

    def user_info(self):
        if not self.bearer_valid():
            self.reply_bad_token()
            return
        with self.state.lock:
            usage = sum(f['size'] or 0 for f in self.state.files.values())
        self.reply_json(200, {'name': 'Demo User', 'email': self.state.email, 'avatar': '',
                              'quota': QUOTA, 'usage': usage, 'max_post_size': MAX_POST_SIZE})

    def create_file(self):
        if not self.bearer_valid():
            self.reply_bad_token()
            return
        meta = self.json
        if not isinstance(meta, dict) or not isinstance(meta.get('title'), str) \
                or not meta['title']:
            self.reply_error(400, 'invalid_request', 'The body must be JSON with a title')
            return
        file_id = secrets.token_urlsafe(9)
        with self.state.lock:
            self.state.files[file_id] = {'title': meta['title'],
                                         'description': meta.get('description'),
                                         'mimeType': meta.get('mimeType'),
                                         'fileSize': meta.get('fileSize'),
                                         'size': None, 'md5': None}
        host = self.host()
        self.reply_json(200, {'id': file_id, 'title': meta['title'],
                              'alternateLink': 'https://%s/s/%s' % (host, file_id),
                              'selfLink': 'https://%s/drive/v1/files/%s' % (host, file_id)})

    def upload(self, file_id, body):
        if not self.bearer_valid():
            self.reply_bad_token()
            return
        with self.state.lock:
            known = file_id in self.state.files
            if known:
                self.state.files[file_id].update(size=body.size, md5=body.md5)
        if not known:
            self.reply_not_found()
            return
        self.reply_json(200, {'id': file_id, 'fileSize': body.size, 'md5Checksum': body.md5})

    def shared_page(self, file_id):
        with self.state.lock:
            meta = dict(self.state.files.get(file_id) or {})
        if not meta:
            self.reply_page(404, 'Not found', 'No file is shared under this link.')
            return
        size = meta['size'] if meta['size'] is not None else meta['fileSize']
        self.reply_page(200, meta['title'], '%s bytes' % size)

    def update_check(self):
        with self.state.lock:
            offer = dict(self.state.update) if self.state.update else None
        if not offer:
            self.reply_json(200, {'version': self.query.get('version', '')})
            return
        name = urllib.parse.quote(os.path.basename(offer['file']))
        self.reply_json(200, {'version': offer['version'],
                              'url': 'https://%s%s%s' % (self.host(), PACKAGE_PREFIX, name),
                              'md5': offer['md5'] or file_md5(offer['file'])})

    def update_package(self, name):
        with self.state.lock:
            path = self.state.update['file'] if self.state.update else None
        if not path or urllib.parse.unquote(name) != os.path.basename(path):
            self.reply_not_found()
            return
        try:
            source = open(path, 'rb')
        except OSError:
            self.reply_not_found()
            return
        with source:
            self.send_response(200)
            self.send_header('Content-Type', 'application/zip')
            self.send_header('Content-Length', str(os.fstat(source.fileno()).st_size))
            self.end_headers()
            for chunk in iter(lambda: source.read(CHUNK), b''):
                self.wfile.write(chunk)

    # Control ------------------------------------------------------------------------------

    def control(self, body):
        state = self.state
        action = (self.command, self.route[len('/_control/'):])
        if action == ('GET', 'requests'):
            with state.lock:
                answer = json.dumps(state.requests).encode()
            self.reply(200, answer, JSON_TYPE)
            return
        try:
            order = json.loads(body.data) if body.data.strip() else {}
            if not isinstance(order, dict):
                raise ValueError('the body must be a JSON object')
            if action == ('POST', 'reset'):
                with state.lock:
                    state.requests.clear()
                    state.failures.clear()
                    state.delays.clear()
            elif action == ('POST', 'update'):
                if order.get('version'):
                    state.offer_update(str(order['version']), str(order['file']),
                                       order.get('md5'))
                else:
                    with state.lock:
                        state.update = None
            elif action == ('POST', 'fail'):
                plan = [str(order['path']), int(order['status']), int(order.get('times', 1))]
                if plan[1] < 100 or plan[1] > 599 or plan[2] < 1:
                    raise ValueError('status or times out of range')
                with state.lock:
                    state.failures.append(plan)
            elif action == ('POST', 'delay'):
                seconds = float(order.get('seconds', 0))
                with state.lock:
                    if 'path' not in order:
                        state.delays.clear()
                    elif seconds > 0:
                        state.delays[str(order['path'])] = seconds
                    else:
                        state.delays.pop(str(order['path']), None)
            else:
                self.reply_not_found()
                return
        except KeyError as error:
            self.reply_error(400, 'invalid_request', 'Missing field %s' % error)
            return
        except (TypeError, ValueError) as error:
            self.reply_error(400, 'invalid_request', str(error))
            return
        self.reply_json(200, {})


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True
    HANDSHAKE_TIMEOUT = 10

    def __init__(self, listener, port, state, context=None):
        self.listener = listener
        self.state = state
        self.context = context
        super().__init__(('127.0.0.1', port), Handler)

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


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--cert', required=True, help='server certificate (PEM)')
    parser.add_argument('--key', required=True, help='its private key (PEM)')
    parser.add_argument('--https-port', type=int, default=0)
    parser.add_argument('--http-port', type=int, default=0)
    parser.add_argument('--account', default='demo@kuvo.example:kuvo-demo',
                        help='EMAIL:PASSWORD of the one account')
    parser.add_argument('--update-version')
    parser.add_argument('--update-file')
    parser.add_argument('--update-md5', help='checksum to announce instead of the real one')
    parser.add_argument('--upload-dir', help='keep uploaded files here, named by their id')
    parser.add_argument('--stop-on-stdin-eof', action='store_true',
                        help='end when standard input closes')
    args = parser.parse_args()
    if ':' not in args.account:
        parser.error('--account must be EMAIL:PASSWORD')
    if bool(args.update_version) != bool(args.update_file):
        parser.error('--update-version and --update-file go together')
    if args.update_file and not os.path.isfile(args.update_file):
        parser.error('--update-file %s is not a file' % args.update_file)
    if args.upload_dir and not os.path.isdir(args.upload_dir):
        parser.error('--upload-dir %s is not a folder' % args.upload_dir)
    return args


def stop(signum, frame):
    raise SystemExit(0)


def watch_stdin():
    # Raw reads: a thread blocked inside sys.stdin's buffer would abort the interpreter's exit.
    while os.read(sys.stdin.fileno(), 4096):
        pass
    os.kill(os.getpid(), signal.SIGTERM)


def main():
    args = parse_arguments()
    email, password = args.account.split(':', 1)
    state = State(email, password, args.upload_dir)
    if args.update_version:
        state.offer_update(args.update_version, args.update_file, args.update_md5)

    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(args.cert, args.key)
    servers = [Server('https', args.https_port, state, context),
               Server('http', args.http_port, state)]

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    for server in servers:
        # A short poll keeps the shutdown on SIGTERM quick.
        threading.Thread(target=server.serve_forever, args=(0.1,), daemon=True).start()
    if args.stop_on_stdin_eof:
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


if __name__ == '__main__':
    main()
