#!/usr/bin/env python3
"""Turns the benchmark program's JSON output and the memory check's text into
the Markdown tables of docs/BENCHMARKS.md.

Usage: summarize.py BENCH_JSON MEMORY_TXT [--module LABEL=PATH ...]
"""
import argparse
import json
import os
import sys

SIZES = [1000, 10000, 100000, 1000000]
RATIO_GOAL = 1.15


def size_label(n):
    return {1000: "10^3", 10000: "10^4", 100000: "10^5", 1000000: "10^6"}.get(n, str(n))


def load(path):
    with open(path) as f:
        data = json.load(f)
    runs = {}
    for b in data["benchmarks"]:
        if b.get("run_type", "iteration") != "iteration" or b.get("error_occurred"):
            continue
        parts = b["name"].split("/")
        runs[tuple(p for p in parts if not p.startswith(("iterations:", "manual_time", "real_time", "min_time:")))] = b
    return data["context"], runs


def machine(context):
    caches = ", ".join(
        f"L{c['level']} {c['type'].lower()} {c['size'] // 1024} KiB" + (f" x{c['num_sharing']}" if c.get("num_sharing", 0) > 1 else "")
        for c in context.get("caches", []))
    mem = int(context.get("memory_total_kib", "0")) / (1024 * 1024)
    load_avg = ", ".join(f"{x:.2f}" for x in context.get("load_avg", []))
    return [
        f"- CPU: {context.get('cpu_model', '?')}, {context.get('num_cpus', '?')} logical CPUs "
        f"(nproc), {context.get('mhz_per_cpu', '?')} MHz",
        f"- Caches: {caches}",
        f"- Memory: {mem:.1f} GiB",
        f"- Load average when the run started: {load_avg}",
        f"- Run: {context.get('date', '?')}, library build type of Google Benchmark: "
        f"{context.get('library_build_type', '?')}",
    ]


def operation_tables(runs):
    order = ["PatternShift", "DashShift", "Untransform", "PasteMatrix", "CopyMatrix"]
    ops = sorted({(k[0], k[1]) for k in runs if len(k) == 3 and k[0] in order}, key=lambda k: order.index(k[0]))
    head = "| Operation / document | " + " | ".join(size_label(n) for n in SIZES) + " |"
    rule = "|---|" + "---:|" * len(SIZES)
    ratio = [head, rule]
    per_object = [head, rule]
    flat = ["| Operation / document | ns/object 10^3 | ns/object 10^6 | 10^6 / 10^3 | floor 10^6 / 10^3 "
            "| excess ns/object 10^3 | excess ns/object 10^6 |", "|---|---:|---:|---:|---:|---:|---:|"]
    misses = []
    for op, doc in ops:
        cells_r, cells_o = [], []
        for n in SIZES:
            b = runs.get((op, doc, str(n)))
            if not b:
                cells_r.append("-")
                cells_o.append("-")
                continue
            r = b["ratio"]
            mark = "" if r <= RATIO_GOAL else " (over)"
            if r > RATIO_GOAL:
                misses.append(f"{op}/{doc} at {size_label(n)}: ratio {r:.3f}")
            cells_r.append(f"{r:.3f}{mark}")
            cells_o.append(f"{b['object_ns']:.0f} / {b['floor_object_ns']:.0f}")
        ratio.append(f"| {op} / {doc} | " + " | ".join(cells_r) + " |")
        per_object.append(f"| {op} / {doc} | " + " | ".join(cells_o) + " |")
        small, large = runs.get((op, doc, "1000")), runs.get((op, doc, "1000000"))
        if small and large:
            flat.append(f"| {op} / {doc} | {small['object_ns']:.1f} | {large['object_ns']:.1f} | "
                        f"{large['object_ns'] / small['object_ns']:.2f} | "
                        f"{large['floor_object_ns'] / small['floor_object_ns']:.2f} | "
                        f"{small['excess_object_ns']:.1f} | {large['excess_object_ns']:.1f} |")
    return ratio, per_object, flat, misses


def simple_table(runs, prefix, columns):
    rows = ["| Benchmark | " + " | ".join(c[0] for c in columns) + " |", "|---|" + "---:|" * len(columns)]
    for key, b in runs.items():
        if key[0] != prefix:
            continue
        cells = []
        for _, field, fmt in columns:
            value = b.get(field)
            cells.append("-" if value is None else fmt(value) if callable(fmt) else fmt.format(value))
        rows.append(f"| {'/'.join(key[1:])} | " + " | ".join(cells) + " |")
    return rows


def module_sizes(modules):
    rows = ["| Module | Bytes | KiB |", "|---|---:|---:|"]
    for label, path in modules:
        if os.path.exists(path):
            size = os.path.getsize(path)
            rows.append(f"| {label} (`{path}`) | {size} | {size / 1024:.1f} |")
        else:
            rows.append(f"| {label} (`{path}`) | not built | - |")
    return rows


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("bench_json")
    parser.add_argument("memory_txt")
    parser.add_argument("--module", action="append", default=[], help="LABEL=PATH of a built module")
    args = parser.parse_args()

    context, runs = load(args.bench_json)
    out = ["## Machine", ""] + machine(context) + [""]

    ratio, per_object, flat, misses = operation_tables(runs)
    out += ["## Art operations: plug-in / floor (goal at most 1.15)", ""] + ratio + [""]
    out += ["## Art operations: ns per selected object, plug-in / floor", ""] + per_object + [""]
    out += ["## Growth from 10^3 to 10^6 objects", ""] + flat + [""]
    out += ["## The fixed cost of a click (empty selection)", ""]
    out += simple_table(runs, "Click", [("ns per click", "click_ns", "{:.0f}"),
                                        ("floor ns", "floor_click_ns", "{:.0f}"),
                                        ("host calls", "host_calls", "{:.0f}")]) + [""]
    out += ["## PluginMain, \"AI Menu\" / \"AI Update\"", ""]
    out += simple_table(runs, "MenuUpdate", [("ns per call", "call_ns", "{:.0f}"),
                                             ("floor ns", "floor_call_ns", "{:.0f}"),
                                             ("ratio", "ratio", "{:.2f}"),
                                             ("host calls", "host_calls", "{:.0f}"),
                                             ("floor host calls", "floor_calls", "{:.0f}")]) + [""]
    out += ["## Clicks per second, 10^4 selected objects of mixed art", ""]
    out += simple_table(runs, "ClicksPerSecond", [("clicks/s", "items_per_second", "{:.0f}"),
                                                  ("ms per click", "real_time", "{:.3f}"),
                                                  ("CPU ms per click", "cpu_time", "{:.3f}")]) + [""]
    out += ["## Single host calls in the stand-in host (call log off)", ""]
    ns = lambda seconds: f"{seconds * 1e9:.2f}"  # the counters are in seconds
    out += simple_table(runs, "HostCall", [("ns per call", "per_call", ns),
                                           ("ns per selected object", "per_object", ns)]) + [""]
    out += ["## Memory over many clicks", "", "```"]
    with open(args.memory_txt) as f:
        out += [line.rstrip("\n") for line in f]
    out += ["```", ""]
    if args.module:
        out += ["## Module sizes", ""] + module_sizes([m.split("=", 1) for m in args.module]) + [""]
    out += ["## Goals missed", ""]
    out += [f"- {m}" for m in misses] if misses else ["- No operation is over the 1.15 ratio at any size."]
    print("\n".join(out))


if __name__ == "__main__":
    sys.exit(main())
