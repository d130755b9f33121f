#!/usr/bin/python3
# A loopback SMTP server for the mail tests: STARTTLS with the given certificate, login with
# one user name and password, every message received written to a folder. Prints "PORT n"
# when it listens and stops when its standard input closes.
import argparse, email, email.policy, json, os, socket, ssl, sys

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword

ap = argparse.ArgumentParser()
ap.add_argument("--dir", required=True)
ap.add_argument("--cert")
ap.add_argument("--key")
ap.add_argument("--user", default="shop@example.test")
ap.add_argument("--password", default="secret")
ap.add_argument("--no-starttls", action="store_true")
args = ap.parse_args()


class Handler:
    def __init__(self):
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = os.path.join(args.dir, "mail-%d" % self.count)
        with open(base + ".eml", "wb") as f:
            f.write(envelope.original_content)
        # The message as a mail reader sees it, parsed by Python's own MIME code.
        msg = email.message_from_bytes(envelope.original_content, policy=email.policy.default)
        sender = msg["From"].addresses[0]
        body = msg.get_body(preferencelist=("plain",))
        parts = []
        for i, part in enumerate(msg.iter_attachments()):
            path = "%s.part-%d" % (base, i)
            with open(path, "wb") as f:
                f.write(part.get_content())
            parts.append({"filename": part.get_filename(), "type": part.get_content_type(),
                          "encoding": part.get("Content-Transfer-Encoding", ""), "path": path})
        with open(base + ".json", "w") as f:
            json.dump({"from": envelope.mail_from, "to": envelope.rcpt_tos,
                       "tls": session.ssl is not None, "login": session.authenticated,
                       "from_name": sender.display_name, "from_addr": sender.addr_spec,
                       "header_to": str(msg["To"]), "subject": str(msg["Subject"]),
                       "headers": list(msg.keys()),
                       "body": body.get_content() if body else None,
                       "attachments": parts}, f)
        return "250 Message accepted"


def authenticator(server, session, envelope, mechanism, auth_data):
    ok = (isinstance(auth_data, LoginPassword)
          and auth_data.login.decode() == args.user
          and auth_data.password.decode() == args.password)
    return AuthResult(success=ok, handled=False)


def free_port():
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return port


kw = dict(authenticator=authenticator, auth_required=True)
if args.no_starttls:
    # Login offered on the plain connection: a client that does not insist on TLS would go on.
    kw["auth_require_tls"] = False
else:
    ctx = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    ctx.load_cert_chain(args.cert, args.key)
    kw.update(tls_context=ctx, require_starttls=True)

controller = Controller(Handler(), hostname="127.0.0.1", port=free_port(), **kw)
controller.start()
print("PORT %d" % controller.port, flush=True)
sys.stdin.read()
controller.stop()
