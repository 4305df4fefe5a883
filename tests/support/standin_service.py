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
  GET  /_control/requests         every other request whose body has been read, in that
                                  order: listener, method, path, query, headers, form or
                                  json, size, md5, complete (false when the client went away
                                  mid-body); listed before its answer leaves
  GET  /_control/arrivals         every other request whose headers are in, in arrival
                                  order, body or not yet: listener, method, path, query,
                                  headers
  POST /_control/reset            forgets recorded requests, planned failures and delays
  POST /_control/update           {"version", "file", "md5"?, "sig"?, "url"?} offers an update
                                  ("" leaves sig out), sent in "pieces"? "pause"? s apart
  POST /_control/fail             {"path", "status", "times"}: the next matching requests
                                  (by path prefix) get that status
  POST /_control/delay            {"path", "seconds"}: matching requests wait that long before
                                  their body is read and answered; seconds 0 or {} removes

Errors are JSON objects {"error": ..., "error_description": ...}. Bodies stream through in
1 MiB chunks and are hashed on the way; they are never printed. With --upload-dir each
completed upload is kept there as a file named after its id. With --state-file the issued
tokens and the files' records are kept in that file and read back at the next start, so that a
program signed in before a restart of the stand-in stays signed in.
"""

import base64
import hashlib
import html
import json
import os
import secrets
import subprocess
import sys
import time
import urllib.parse

import standin_common as common
from standin_common import CHUNK, JSON_TYPE

TOKEN_LIFETIME = 30 * 24 * 3600
QUOTA = 1 << 30
MAX_POST_SIZE = 100 << 20
UPLOAD_PREFIX = '/upload/drive/v1/files/'
SHARE_PREFIX = '/s/'
PACKAGE_PREFIX = '/update/package/'


def file_md5(path):
    digest = hashlib.md5()
    with open(path, 'rb') as source:
        for chunk in iter(lambda: source.read(CHUNK), b''):
            digest.update(chunk)
    return digest.hexdigest()


class State(common.State):
    """Everything both listeners share. Every access holds the lock."""

    def __init__(self, email, password, upload_dir, state_file=None, update_key=None):
        super().__init__()
        self.update_key = update_key
        self.email = email
        self.password = password
        self.upload_dir = upload_dir
        self.state_file = state_file
        self.tokens = set()
        self.codes = {}  # authorization code -> the redirect_uri it was issued for
        self.files = {}  # id -> metadata and what its upload delivered
        self.update = None  # {"version", "file", "md5", "sig", "url", "pieces", "pause"}
        if state_file and os.path.exists(state_file):
            try:
                with open(state_file, encoding='utf-8') as source:
                    kept = json.load(source)
                self.tokens = set(kept['tokens'])
                self.files = dict(kept['files'])
            except (OSError, ValueError, KeyError, TypeError) as problem:
                sys.stderr.write('standin: %s is not usable (%s); starting afresh\n'
                                 % (state_file, problem))

    def keep(self):
        """Writes the tokens and files to the state file, whole or not at all. Holds the lock."""
        if not self.state_file:
            return
        partial = self.state_file + '.new'
        with open(partial, 'w', encoding='utf-8') as target:
            json.dump({'tokens': sorted(self.tokens), 'files': self.files}, target)
        os.replace(partial, self.state_file)

    def offer_update(self, version, file, md5=None, sig=None, url=None, pieces=1, pause=0):
        if not os.path.isfile(file):
            raise ValueError('no such update file: %s' % file)
        if sig is None:
            signed = subprocess.run(['openssl', 'pkeyutl', '-sign', '-inkey', self.update_key,
                                     '-rawin', '-in', file], check=True, capture_output=True)
            sig = base64.b64encode(signed.stdout).decode()
        with self.lock:
            self.update = {'version': version, 'file': os.path.abspath(file), 'md5': md5,
                           'sig': sig, 'url': url, 'pieces': max(1, pieces), 'pause': pause}


class Handler(common.Handler):
    server_version = 'KuvoStandin/1'
    delay_without_path_clears = True

    do_PATCH = common.Handler.do_GET

    # Replies ------------------------------------------------------------------------------

    def reply_error(self, status, error, description, headers=()):
        answer = {'error': error, 'error_description': description}
        self.reply(status, json.dumps(answer).encode(), JSON_TYPE, headers)

    def reply_bad_token(self):
        self.reply_error(401, 'invalid_token', 'The access token is not valid')

    def reply_not_found(self):
        self.reply_error(404, 'not_found', 'Nothing is at %s' % self.route)

    def reply_page(self, status, title, text):
        page = ('<!DOCTYPE html>\n<html><head><meta charset="utf-8"><title>%s</title></head>\n'
                '<body><h1>%s</h1><p>%s</p></body></html>\n'
                % (html.escape(title), html.escape(title), html.escape(text)))
        self.reply(status, page.encode(), 'text/html; charset=utf-8')

    reply_unknown_control = reply_not_found

    # Requests -----------------------------------------------------------------------------

    def bearer_valid(self):
        token = self.bearer()
        with self.state.lock:
            return token in self.state.tokens

    def recorded_fields(self, headers):
        fields = {'listener': self.server.listener}
        fields.update(super().recorded_fields(headers))
        return fields

    def keeps_body(self, kind):
        return super().keeps_body(kind) and not self.route.startswith(UPLOAD_PREFIX)

    def take_body(self, length, keep):
        target = self.upload_target()
        if not target:
            return self.read_body(length, keep)
        with open(target, 'wb') as sink:
            body = self.read_body(length, False, sink)
        if not body.complete:
            os.remove(target)
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

    def serve(self, body):
        if self.server.listener == 'https':
            self.serve_https(body)
        else:
            self.serve_http()

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
            state.keep()
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
        self.reply_redirect(target, code)

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
            self.state.keep()
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
                self.state.keep()
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
        answer = {'version': offer['version'], 'sig': offer['sig'],
                  'url': offer['url'] or 'https://%s%s%s' % (self.host(), PACKAGE_PREFIX, name),
                  'md5': offer['md5'] or file_md5(offer['file'])}
        self.reply_json(200, {key: value for key, value in answer.items() if value})

    def update_package(self, name):
        with self.state.lock:
            offer = dict(self.state.update) if self.state.update else {}
        path = offer.get('file')
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
            piece = min(CHUNK, os.fstat(source.fileno()).st_size // offer['pieces'] + 1)
            for number, chunk in enumerate(iter(lambda: source.read(piece), b'')):
                if number:
                    time.sleep(offer['pause'])
                self.wfile.write(chunk)

    # Control ------------------------------------------------------------------------------

    def control_order(self, action, order):
        if action != ('POST', 'update'):
            return None
        if order.get('version'):
            self.state.offer_update(**order)
        else:
            with self.state.lock:
                self.state.update = None
        return {}


def add_options(parser):
    parser.add_argument('--https-port', type=int, default=0)
    parser.add_argument('--http-port', type=int, default=0)
    parser.add_argument('--account', default='demo@kuvo.example:kuvo-demo',
                        help='EMAIL:PASSWORD of the one account')
    parser.add_argument('--update-version')
    parser.add_argument('--update-file')
    parser.add_argument('--update-md5', help='checksum to announce instead of the real one')
    parser.add_argument('--update-key', required=True, help='Ed25519 key (PEM) signing updates')
    parser.add_argument('--upload-dir', help='keep uploaded files here, named by their id')
    parser.add_argument('--state-file', help='keep issued tokens and files here across restarts')


def check_options(parser, args):
    if ':' not in args.account:
        parser.error('--account must be EMAIL:PASSWORD')
    if bool(args.update_version) != bool(args.update_file):
        parser.error('--update-version and --update-file go together')
    if args.update_file and not os.path.isfile(args.update_file):
        parser.error('--update-file %s is not a file' % args.update_file)
    if args.upload_dir and not os.path.isdir(args.upload_dir):
        parser.error('--upload-dir %s is not a folder' % args.upload_dir)


def main():
    args = common.parse_arguments(__doc__, add_options, check_options)
    email, password = args.account.split(':', 1)
    state = State(email, password, args.upload_dir, args.state_file, args.update_key)
    if args.update_version:
        state.offer_update(args.update_version, args.update_file, args.update_md5)

    context = common.tls_context(args.cert, args.key)
    servers = [common.Server(Handler, 'https', args.https_port, state, context),
               common.Server(Handler, 'http', args.http_port, state)]
    common.run(servers, args.stop_on_stdin_eof)


if __name__ == '__main__':
    main()
