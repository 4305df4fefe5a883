#!/usr/bin/env python3
"""Local stand-in of Dropbox's HTTP API v2, for the tests of Kuvo's Dropbox target.

It listens on 127.0.0.1 only, HTTPS, one port for all three Dropbox hosts (api, content and
www): once ready it prints "https <port>" on standard output, then serves until SIGTERM or
SIGINT (or, with --stop-on-stdin-eof, until its standard input closes, so it cannot outlive a
test program that crashed). One account, one app key, the OAuth2 code flow with PKCE.

Web and OAuth2
  GET  /oauth2/authorize     client_id, response_type=code, redirect_uri=http://127.0.0.1...,
                             state, code_challenge, code_challenge_method=S256: the user
                             agrees at once, 302 to redirect_uri?code=...&state=...
  POST /oauth2/token         form grant_type=authorization_code (code, client_id,
                             redirect_uri, code_verifier checked against the challenge) or
                             grant_type=refresh_token (refresh_token, client_id): a token
RPC (Bearer token; JSON body, or no body for calls without arguments)
  POST /2/users/get_current_account, /2/users/get_space_usage
  POST /2/sharing/create_shared_link_with_settings {"path"}: 409 shared_link_already_exists
                             (with the link in the error's metadata) when the file has one
  POST /2/sharing/list_shared_links {"path"}
Content upload (Bearer token; argument in the Dropbox-API-Arg header, ASCII only;
Content-Type application/octet-stream; the body is the file's bytes)
  POST /2/files/upload       {"path", "mode": "add", "autorename", "mute"}
  POST /2/files/upload_session/start, /append_v2, /finish (cursor, commit)
Control (not recorded)
  GET  /_control/requests    every other request whose body has been read (or cut short),
                             in that order: method, path, query, headers (lower-case names),
                             arg (the parsed Dropbox-API-Arg), form or json, size, md5,
                             complete; listed before its answer leaves
  GET  /_control/arrivals    every other request whose headers are in, in arrival order,
                             body or not yet: method, path, query, headers, arg
  GET  /_control/files       the stored files by lower-case path: path_display, size, md5
  POST /_control/reset       forgets requests, files, links, sessions, failures, delays and
                             options; tokens stay valid
  POST /_control/token       {"expires_in"?}: a fresh access and refresh token of the account
  POST /_control/expire      every access token issued so far has expired
  POST /_control/space       {"used", "allocated"}: space used besides the stored files, and
                             the account's allocation
  POST /_control/options     {"bare_link_conflict": bool}: the 409 for an existing shared link
                             then comes without the link's metadata
  POST /_control/fail        {"path", "status", "times"}: the next matching requests (by path
                             prefix) get that status
  POST /_control/delay       {"path", "seconds"}: matching requests wait that long before
                             their body is read and answered; seconds 0 removes

Errors look like Dropbox's: JSON {"error_summary", "error": {".tag": ...}} for refused
calls (401, 409), plain text for malformed ones (400), and {"error", "error_description"} at
/oauth2/token. Bodies stream through in 1 MiB chunks and are hashed on the way; they are
never printed or kept.
"""

import base64
import hashlib
import json
import re
import secrets
import time
import urllib.parse

import standin_common as common
from standin_common import FORM_TYPE, JSON_TYPE, media_type

TOKEN_LIFETIME = 4 * 3600
ALLOCATED = 2 << 30
OCTET_TYPE = 'application/octet-stream'
VERIFIER = re.compile(r'^[A-Za-z0-9._~-]{43,128}$')
CONTENT_ROUTES = ('/2/files/upload', '/2/files/upload_session/start',
                  '/2/files/upload_session/append_v2', '/2/files/upload_session/finish')
SESSION_ROUTES = ('/2/files/upload_session/append_v2', '/2/files/upload_session/finish')
NO_ARGUMENT_ROUTES = ('/2/users/get_current_account', '/2/users/get_space_usage')


def challenge_of(verifier):
    digest = hashlib.sha256(verifier.encode('ascii')).digest()
    return base64.urlsafe_b64encode(digest).rstrip(b'=').decode('ascii')


class Refusal(Exception):
    """A call Dropbox would answer with an error: status, and a JSON or text body."""

    def __init__(self, status, body):
        super().__init__(status)
        self.status = status
        self.body = body


def api_error(status, error, *tags):
    """Dropbox's error shape: the summary names the union tags from the outside in."""
    return Refusal(status, {'error_summary': '/'.join(tags) + '/...', 'error': error})


def tagged(tag, **fields):
    value = {'.tag': tag}
    value.update(fields)
    return value


def bad_request(endpoint, text):
    return Refusal(400, 'Error in call to API function "%s": %s' % (endpoint, text))


class State(common.State):
    """Everything the connections share. Every access holds the lock."""

    def __init__(self, app_key, name, email):
        super().__init__()
        self.app_key = app_key
        self.name = name
        self.email = email
        self.account_id = 'dbid:' + secrets.token_urlsafe(12)
        self.tokens = {}  # access token -> expired
        self.refresh_tokens = set()
        self.codes = {}  # code -> (client_id, redirect_uri, challenge)
        self.reset()

    def reset(self):
        super().reset()
        self.files = {}  # lower-case path -> metadata
        self.links = {}  # lower-case path -> url
        self.sessions = {}  # session id -> {"offset", "md5"}
        self.extra_used = 0
        self.allocated = ALLOCATED
        self.bare_link_conflict = False

    def issue(self, lifetime=TOKEN_LIFETIME, refresh=True):
        token = secrets.token_urlsafe(24)
        self.tokens[token] = False
        answer = {'access_token': token, 'token_type': 'bearer', 'expires_in': lifetime,
                  'scope': 'files.content.write sharing.write account_info.read',
                  'uid': '12345', 'account_id': self.account_id}
        if refresh:
            refresh_token = secrets.token_urlsafe(32)
            self.refresh_tokens.add(refresh_token)
            answer['refresh_token'] = refresh_token
        return answer

    def used(self):
        return self.extra_used + sum(entry['size'] for entry in self.files.values())


class Handler(common.Handler):
    server_version = 'DropboxStandin/1'

    # Replies ------------------------------------------------------------------------------

    def reply_error(self, status, error, description, headers=()):
        # Like Dropbox's answers to malformed calls: plain text, without a JSON error.
        self.reply(status, description.encode(), 'text/plain', headers)

    def refuse_framing(self, status, description):
        # One plain 400 for every framing fault, unknown length included.
        self.reply_error(400, 'invalid_request', 'A Content-Length is required',
                         [('Connection', 'close')])

    def reply_unknown_control(self):
        self.reply(404, b'Unknown control call', 'text/plain')

    def reply_refusal(self, refusal):
        if isinstance(refusal.body, str):
            self.reply(refusal.status, refusal.body.encode(), 'text/plain; charset=utf-8')
        else:
            self.reply_json(refusal.status, refusal.body)

    def reply_oauth_error(self, error, description):
        self.reply_json(400, {'error': error, 'error_description': description})

    # Requests -----------------------------------------------------------------------------

    def keeps_body(self, kind):
        # A session's running digest can only take bytes once the session is known, so the
        # bytes of calls continuing one are kept; the client sends them in bounded chunks.
        return super().keeps_body(kind) or self.route in SESSION_ROUTES

    def recorded_fields(self, headers):
        fields = super().recorded_fields(headers)
        try:
            fields['arg'] = json.loads(headers.get('dropbox-api-arg', ''))
        except ValueError:
            pass
        return fields

    def serve(self, body):
        try:
            self.serve_call(body)
        except Refusal as refusal:
            self.reply_refusal(refusal)

    def serve_call(self, body):
        method, route = self.command, self.route
        if method == 'GET' and route == '/oauth2/authorize':
            self.authorize()
        elif method == 'POST' and route == '/oauth2/token':
            self.token(body)
        elif method != 'POST' or not route.startswith('/2/'):
            self.reply(404, b'Not found', 'text/plain')
        elif route in CONTENT_ROUTES:
            self.content_call(body)
        else:
            self.rpc_call(body)

    # OAuth2 -------------------------------------------------------------------------------

    def authorize(self):
        q = self.query
        redirect = q.get('redirect_uri', '')
        target = urllib.parse.urlsplit(redirect)
        problems = []
        if q.get('client_id') != self.state.app_key:
            problems.append('unknown client_id')
        if q.get('response_type') != 'code':
            problems.append('response_type must be code')
        if target.scheme != 'http' or target.hostname != '127.0.0.1':
            problems.append('redirect_uri must be an http address on 127.0.0.1')
        if q.get('code_challenge_method') != 'S256' or not q.get('code_challenge'):
            problems.append('a code_challenge with method S256 is required')
        if problems:
            self.reply(400, ('; '.join(problems)).encode(), 'text/plain; charset=utf-8')
            return
        code = secrets.token_urlsafe(24)
        with self.state.lock:
            self.state.codes[code] = (q['client_id'], redirect, q['code_challenge'])
        self.reply_redirect(target, code)

    def token(self, body):
        if media_type(self.headers) != FORM_TYPE:
            self.reply_oauth_error('invalid_request', 'the body must be a form')
            return
        form = dict(urllib.parse.parse_qsl(body.data.decode('utf-8', 'replace'),
                                           keep_blank_values=True))
        if form.get('client_id') != self.state.app_key:
            self.reply_oauth_error('invalid_client', 'unknown client_id')
            return
        grant = form.get('grant_type')
        with self.state.lock:
            if grant == 'authorization_code':
                issued = self.state.codes.pop(form.get('code', ''), None)
                verifier = form.get('code_verifier', '')
                if issued is None:
                    problem = "code doesn't exist or has expired"
                elif issued[1] != form.get('redirect_uri'):
                    problem = 'redirect_uri mismatch'
                elif not VERIFIER.match(verifier) or challenge_of(verifier) != issued[2]:
                    problem = 'invalid code verifier'
                else:
                    problem = None
                answer = None if problem else self.state.issue()
            elif grant == 'refresh_token':
                known = form.get('refresh_token') in self.state.refresh_tokens
                problem = None if known else 'refresh token is malformed or revoked'
                answer = self.state.issue(refresh=False) if known else None
            else:
                self.reply_oauth_error('unsupported_grant_type', 'unknown grant_type')
                return
        if problem:
            self.reply_oauth_error('invalid_grant', problem)
        else:
            self.reply_json(200, answer)

    def check_token(self, endpoint):
        token = self.bearer()
        if not token:
            raise bad_request(endpoint, 'Must provide HTTP header "Authorization" or URL '
                                        'parameter "authorization".')
        with self.state.lock:
            expired = self.state.tokens.get(token)
        if expired is None:
            raise api_error(401, tagged('invalid_access_token'), 'invalid_access_token')
        if expired:
            raise api_error(401, tagged('expired_access_token'), 'expired_access_token')

    # RPC calls ----------------------------------------------------------------------------

    def rpc_argument(self, endpoint, body):
        kind = media_type(self.headers)
        if self.route in NO_ARGUMENT_ROUTES and body.size == 0 and 'Content-Type' not in \
                self.headers:
            return None
        if kind != JSON_TYPE:
            raise bad_request(endpoint, 'Bad HTTP "Content-Type" header: "%s".  Expecting one '
                                        'of "application/json", "application/json; '
                                        'charset=utf-8".' % self.headers.get('Content-Type', ''))
        try:
            argument = json.loads(body.data)
        except ValueError:
            raise bad_request(endpoint, 'request body: could not decode input as JSON')
        if self.route in NO_ARGUMENT_ROUTES:
            if argument is not None:
                raise bad_request(endpoint, 'request body: expected null, got value')
        elif not isinstance(argument, dict):
            raise bad_request(endpoint, 'request body: expected an object')
        return argument

    def rpc_call(self, body):
        endpoint = self.route[len('/2/'):]
        handlers = {
            'users/get_current_account': self.current_account,
            'users/get_space_usage': self.space_usage,
            'sharing/create_shared_link_with_settings': self.create_link,
            'sharing/list_shared_links': self.list_links,
        }
        if endpoint not in handlers:
            self.reply(404, b'Unknown API function', 'text/plain')
            return
        self.check_token(endpoint)
        argument = self.rpc_argument(endpoint, body)
        self.reply_json(200, handlers[endpoint](endpoint, argument))

    def current_account(self, endpoint, argument):
        return {'account_id': self.state.account_id,
                'name': {'given_name': self.state.name.split(' ')[0],
                         'surname': self.state.name.split(' ')[-1],
                         'familiar_name': self.state.name.split(' ')[0],
                         'display_name': self.state.name,
                         'abbreviated_name': ''.join(w[0] for w in self.state.name.split())},
                'email': self.state.email, 'email_verified': True, 'disabled': False,
                'country': 'CZ', 'locale': 'en', 'is_paired': False,
                'account_type': {'.tag': 'basic'}}

    def space_usage(self, endpoint, argument):
        with self.state.lock:
            return {'used': self.state.used(),
                    'allocation': {'.tag': 'individual', 'allocated': self.state.allocated}}

    def link_metadata(self, entry, url):
        return {'.tag': 'file', 'url': url, 'id': entry['id'], 'name': entry['name'],
                'path_lower': entry['path_display'].lower(),
                'link_permissions': {'can_revoke': True,
                                     'resolved_visibility': {'.tag': 'public'}},
                'client_modified': entry['modified'], 'server_modified': entry['modified'],
                'rev': entry['rev'], 'size': entry['size']}

    def create_link(self, endpoint, argument):
        path = argument.get('path')
        if not isinstance(path, str):
            raise bad_request(endpoint, 'request body: missing required field: path')
        with self.state.lock:
            entry = self.state.files.get(path.lower())
            if entry is None:
                raise api_error(409, tagged('path', path=tagged('not_found')), 'path',
                                'not_found')
            url = self.state.links.get(path.lower())
            if url is None:
                url = 'https://%s/s/%s/%s?dl=0' % (self.host(), secrets.token_urlsafe(9),
                                                   urllib.parse.quote(entry['name']))
                self.state.links[path.lower()] = url
                return self.link_metadata(entry, url)
            if self.state.bare_link_conflict:
                raise api_error(409, tagged('shared_link_already_exists'),
                                'shared_link_already_exists')
            existing = tagged('metadata', metadata=self.link_metadata(entry, url))
        raise api_error(409, tagged('shared_link_already_exists',
                                    shared_link_already_exists=existing),
                        'shared_link_already_exists', 'metadata')

    def list_links(self, endpoint, argument):
        path = argument.get('path')
        links = []
        with self.state.lock:
            for lower, url in self.state.links.items():
                if path is None or lower == str(path).lower():
                    links.append(self.link_metadata(self.state.files[lower], url))
        return {'links': links, 'has_more': False}

    # Content uploads ----------------------------------------------------------------------

    def content_argument(self, endpoint):
        raw = self.headers.get('Dropbox-API-Arg')
        if raw is None:
            raise bad_request(endpoint, 'Must provide HTTP header "Dropbox-API-Arg" or URL '
                                        'parameter "arg".')
        # Header values arrive as Latin-1; Dropbox wants everything beyond ASCII escaped.
        if any(ord(c) > 0x7e for c in raw):
            raise bad_request(endpoint, 'HTTP header "Dropbox-API-Arg": could not decode '
                                        'input as JSON (characters above 0x7e must be '
                                        'escaped as \\uXXXX)')
        if media_type(self.headers) != OCTET_TYPE:
            raise bad_request(endpoint, 'Bad HTTP "Content-Type" header: "%s".  Expecting one '
                                        'of "application/octet-stream", "text/plain; '
                                        'charset=dropbox-cors-hack".'
                              % self.headers.get('Content-Type', ''))
        try:
            argument = json.loads(raw)
        except ValueError:
            raise bad_request(endpoint, 'HTTP header "Dropbox-API-Arg": could not decode '
                                        'input as JSON')
        if not isinstance(argument, dict):
            raise bad_request(endpoint, 'HTTP header "Dropbox-API-Arg": expected an object')
        return argument

    def content_call(self, body):
        endpoint = self.route[len('/2/'):]
        self.check_token(endpoint)
        argument = self.content_argument(endpoint)
        with self.state.lock:
            if endpoint == 'files/upload':
                answer = self.store(endpoint, argument, body.size, body.digest, 'reason')
            elif endpoint == 'files/upload_session/start':
                session = secrets.token_urlsafe(12)
                self.state.sessions[session] = {'offset': body.size, 'md5': body.digest}
                answer = {'session_id': session}
            elif endpoint == 'files/upload_session/append_v2':
                self.append(endpoint, argument, body)
                answer = None
            else:
                commit = argument.get('commit')
                if not isinstance(commit, dict):
                    raise bad_request(endpoint, 'missing required field: commit')
                session_id, session = self.append(endpoint, argument, body)
                answer = self.store(endpoint, commit, session['offset'], session['md5'], 'path')
                del self.state.sessions[session_id]
        self.reply_json(200, answer)

    def append(self, endpoint, argument, body):
        cursor = argument.get('cursor')
        if not isinstance(cursor, dict) or not isinstance(cursor.get('offset'), int):
            raise bad_request(endpoint, 'missing required field: cursor')
        session_id = cursor.get('session_id')
        session = self.state.sessions.get(session_id)
        if session is None:
            raise api_error(409, tagged('not_found'), 'not_found')
        # Bytes sent for the wrong place are dropped, as Dropbox does, and the client learns
        # where the session really stands.
        if cursor['offset'] != session['offset']:
            raise api_error(409, tagged('incorrect_offset', correct_offset=session['offset']),
                            'incorrect_offset')
        session['offset'] += body.size
        session['md5'].update(body.data)
        return session_id, session

    def store(self, endpoint, argument, size, md5, reason_field):
        """Stores a file; write errors come nested the way the calling endpoint nests them."""
        def write_error(tag):
            if reason_field == 'reason':
                error = tagged('path', reason=tagged(tag), upload_session_id='')
            else:
                error = tagged('path', path=tagged(tag))
            return api_error(409, error, 'path', tag)

        path = argument.get('path')
        if not isinstance(path, str) or not path.startswith('/') or path.endswith('/') \
                or '//' in path:
            raise write_error('malformed_path')
        mode = argument.get('mode', 'add')
        mode = mode.get('.tag') if isinstance(mode, dict) else mode
        if mode != 'add':
            raise bad_request(endpoint, 'the stand-in knows only mode "add"')
        if self.state.used() + size > self.state.allocated:
            raise write_error('insufficient_space')
        path = self.free_name(path, argument.get('autorename', False))
        if path is None:
            raise write_error('conflict')
        name = path.rsplit('/', 1)[1]
        now = time.strftime('%Y-%m-%dT%H:%M:%SZ', time.gmtime())
        entry = {'name': name, 'id': 'id:' + secrets.token_urlsafe(12),
                 'path_display': path, 'size': size, 'md5': md5.hexdigest(),
                 'rev': secrets.token_hex(9), 'modified': now}
        self.state.files[path.lower()] = entry
        return {'.tag': 'file', 'name': name, 'id': entry['id'], 'client_modified': now,
                'server_modified': now, 'rev': entry['rev'], 'size': size,
                'path_lower': path.lower(), 'path_display': path, 'is_downloadable': True}

    def free_name(self, path, autorename):
        if path.lower() not in self.state.files:
            return path
        if not autorename:
            return None
        folder, name = path.rsplit('/', 1)
        stem, dot, extension = name.rpartition('.')
        if not dot or not stem:
            stem, dot, extension = name, '', ''
        number = 1
        while True:
            candidate = '%s/%s (%d)%s%s' % (folder, stem, number, dot, extension)
            if candidate.lower() not in self.state.files:
                return candidate
            number += 1

    # Control ------------------------------------------------------------------------------

    def control_query(self, action):
        if action != ('GET', 'files'):
            return False
        with self.state.lock:
            answer = {lower: {'path_display': entry['path_display'], 'size': entry['size'],
                              'md5': entry['md5']}
                      for lower, entry in self.state.files.items()}
        self.reply_json(200, answer)
        return True

    def control_order(self, action, order):
        state = self.state
        with state.lock:
            if action == ('POST', 'token'):
                return state.issue(int(order.get('expires_in', TOKEN_LIFETIME)))
            if action == ('POST', 'expire'):
                for token in state.tokens:
                    state.tokens[token] = True
            elif action == ('POST', 'space'):
                state.extra_used = int(order.get('used', 0))
                state.allocated = int(order.get('allocated', ALLOCATED))
            elif action == ('POST', 'options'):
                state.bare_link_conflict = bool(order.get('bare_link_conflict', False))
            else:
                return None
        return {}


def add_options(parser):
    parser.add_argument('--port', type=int, default=0)
    parser.add_argument('--app-key', default='kuvo-linux-app')
    parser.add_argument('--name', default='Dana Kovář', help="the account's display name")
    parser.add_argument('--email', default='dana@dropbox.example')


def main():
    args = common.parse_arguments(__doc__, add_options)
    state = State(args.app_key, args.name, args.email)
    context = common.tls_context(args.cert, args.key)
    common.run([common.Server(Handler, 'https', args.port, state, context)],
               args.stop_on_stdin_eof)


if __name__ == '__main__':
    main()
