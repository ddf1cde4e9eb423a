#!/usr/bin/env python3
"""Amounts in words from Python: velmora's d.Letras(x) against num2words(x, lang="es").

Both word the same amounts (two decimals, up to a million), each call as a user writes it;
the figure is the time per call, the median of the runs.

    PYTHONPATH=build/python python3 bench/python_bench.py [--count 100000] [--runs 3]
"""
import argparse
import random
import statistics
import sys
import time

from num2words import num2words

import velmora


def amounts(count, seed=2009):
    rng = random.Random(seed)
    return [round(rng.uniform(0, 1_000_000), 2) for _ in range(count)]


def velmora_per_call(d, xs):
    start = time.perf_counter()
    for x in xs:
        d.Letras(x)
    return (time.perf_counter() - start) / len(xs)


def num2words_per_call(xs):
    start = time.perf_counter()
    for x in xs:
        num2words(x, lang="es")
    return (time.perf_counter() - start) / len(xs)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--count", type=int, default=100_000, help="amounts worded per run")
    parser.add_argument("--runs", type=int, default=3, help="runs of each; the median counts")
    args = parser.parse_args()

    xs = amounts(args.count)
    d = velmora.Dolva(locale="es_MX")
    velmora_per_call(d, xs[:1000])  # warm both up: first calls load locale data and caches
    num2words_per_call(xs[:100])
    ours, theirs = [], []
    for _ in range(args.runs):  # interleaved, so both meet the same machine
        ours.append(velmora_per_call(d, xs))
        theirs.append(num2words_per_call(xs))
    mine, other = statistics.median(ours), statistics.median(theirs)

    sample = xs[0]
    print(f"Python {sys.version.split()[0]}, {args.count} amounts, median of {args.runs} runs")
    print(f"  d.Letras(x)                {mine * 1e6:8.3f} µs per call")
    print(f"  num2words(x, lang=\"es\")    {other * 1e6:8.3f} µs per call")
    print(f"  velmora is {other / mine:.1f}x faster")
    print(f"  e.g. {sample}:")
    print(f"    velmora:   {d.Letras(sample)}")
    print(f"    num2words: {num2words(sample, lang='es')}")


if __name__ == "__main__":
    main()
