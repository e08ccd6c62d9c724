#!/usr/bin/env python3
"""A slow, jittery network between the versus players and the server, for the tests.

Listens on loopback, forwards every TCP connection to the server, and holds each chunk read in
either direction for a random 0 to --most-delay-ms milliseconds before passing it on, never
letting a chunk overtake the one before it: the byte stream stays whole and in order, as over
TCP, only late. Prints "jitter-proxy: listening on 127.0.0.1:PORT" once it listens, and ends
after --seconds however busy it is.

Usage: jitter-proxy.py --to HOST:PORT [--listen PORT] [--most-delay-ms MS] [--seconds S] [--seed N]
"""
import argparse
import asyncio
import random
import sys

LOOPBACK = {"127.0.0.1", "::1", "localhost"}


def host_port(text):
    host, _, port = text.rpartition(":")
    host = host.strip("[]")
    if host not in LOOPBACK or not port.isdigit() or not 0 < int(port) < 65536:
        raise argparse.ArgumentTypeError(f"{text}: a loopback HOST:PORT")
    return host, int(port)


async def pump(reader, writer, delay):
    """Reads chunks as they come and writes each at its own time, in order."""
    loop = asyncio.get_running_loop()
    due = asyncio.Queue()

    async def deliver():
        while True:
            at, chunk = await due.get()
            if chunk is None:
                break
            await asyncio.sleep(max(0.0, at - loop.time()))
            writer.write(chunk)
            await writer.drain()

    sender = asyncio.create_task(deliver())
    last = 0.0
    try:
        while chunk := await reader.read(65536):
            last = max(loop.time() + delay(), last)
            due.put_nowait((last, chunk))
    except ConnectionError:
        pass
    due.put_nowait((last, None))
    try:
        await sender
        writer.write_eof()
    except (ConnectionError, OSError):
        pass


async def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--to", type=host_port, required=True)
    parser.add_argument("--listen", type=int, default=0)
    parser.add_argument("--most-delay-ms", type=float, default=150.0)
    parser.add_argument("--seconds", type=float, default=120.0)
    parser.add_argument("--seed", type=int, default=1)
    options = parser.parse_args()
    dice = random.Random(options.seed)

    def delay():
        return dice.uniform(0.0, options.most_delay_ms) / 1000.0

    async def connected(client_reader, client_writer):
        try:
            server_reader, server_writer = await asyncio.open_connection(*options.to)
        except OSError:
            client_writer.close()
            return
        await asyncio.gather(pump(client_reader, server_writer, delay),
                             pump(server_reader, client_writer, delay))
        for writer in (client_writer, server_writer):
            writer.close()

    server = await asyncio.start_server(connected, "127.0.0.1", options.listen)
    port = server.sockets[0].getsockname()[1]
    print(f"jitter-proxy: listening on 127.0.0.1:{port}", flush=True)
    try:
        await asyncio.wait_for(server.serve_forever(), options.seconds)
    except asyncio.TimeoutError:
        pass


if __name__ == "__main__":
    try:
        asyncio.run(main())
    except KeyboardInterrupt:
        sys.exit(130)
