"""A flow monitor's register map served by pymodbus, for tests of our Modbus line against a server
we did not write. The registers start with the description's default values (scaled as the map
says); --set NAME=VALUE gives a parameter another value. With --serial DEVICE it serves Modbus RTU on
that serial device (19200 baud, no parity: a pseudo-terminal refuses to be told parity twice)
instead of TCP. Every write a client makes is printed as
"write <address> <value> ..." on standard output; "listening <port>" is printed once the server
accepts connections.

Run with /usr/bin/python3 (Debian's pymodbus)."""
import argparse
import asyncio
import json
import sys

from pymodbus.datastore import ModbusSequentialDataBlock, ModbusServerContext, ModbusSlaveContext
from pymodbus.framer.rtu_framer import ModbusRtuFramer
from pymodbus.server import StartAsyncSerialServer, StartAsyncTcpServer

from register_image import registers


class LoggedBlock(ModbusSequentialDataBlock):
    def setValues(self, address, values):  # noqa: N802 (pymodbus' name)
        super().setValues(address, values)
        print("write", address, *values, flush=True)


def block(values, logged):
    size = max(values) + 1 if values else 1
    initial = [values.get(a, 0) for a in range(size)]
    return (LoggedBlock if logged else ModbusSequentialDataBlock)(0, initial)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int)
    parser.add_argument("--serial")
    parser.add_argument("--description", required=True)
    parser.add_argument("--set", action="append", default=[], metavar="NAME=VALUE")
    args = parser.parse_args()
    with open(args.description, encoding="utf-8") as f:
        description = json.load(f)
    overrides = dict(s.split("=", 1) for s in args.set)
    tables = registers(description, overrides)

    async def run():
        context = ModbusServerContext(
            slaves=ModbusSlaveContext(hr=block(tables["holding"], True), ir=block(tables["input"], False),
                                      zero_mode=True),
            single=True)
        if args.serial:
            server = await StartAsyncSerialServer(context=context, framer=ModbusRtuFramer, port=args.serial,
                                                  baudrate=19200, parity="N", bytesize=8, stopbits=1,
                                                  defer_start=True)
            await server.start()
            print("listening", args.serial, flush=True)
            await server.serve_forever()
            return
        server = await StartAsyncTcpServer(context=context, address=("127.0.0.1", args.port), defer_start=True)
        running = asyncio.create_task(server.serve_forever())
        await server.serving
        print("listening", args.port, flush=True)
        await running

    asyncio.run(run())


if __name__ == "__main__":
    sys.exit(main())
