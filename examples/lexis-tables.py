#!/usr/bin/env python3
"""Writes the example tables in the long layouts of the Human Mortality and
Human Fertility Databases (see DATA.md): two from the Danish matrices next
to this script, one synthetic fertility table. Run from anywhere; the
tables are written next to the script."""

import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
HMD_MODIFIED = "Last modified: 06 Dec 2026;  Methods Protocol: v6 (2017)"
HFD_MODIFIED = "Last modified: 06.12.2026"


def matrix(name):
    with open(os.path.join(HERE, name)) as f:
        return [line.strip().split(",") for line in f if line.strip()]


def write(name, description, columns, rows, modified=HMD_MODIFIED):
    with open(os.path.join(HERE, name), "w") as f:
        f.write(f"{description},\t{modified}\n\n")
        f.write("".join(f"{c:>{w}}" for c, w in columns) + "\n")
        for row in rows:
            f.write("".join(f"{v:>{w}}" for v, (_, w) in zip(row, columns)) + "\n")


def mortality():
    # Rates per 1000 person-years become rates per person-year, as the
    # database gives them.
    female, male = matrix("dk-female-mortality.csv"), matrix("dk-male-mortality.csv")
    rows = []
    for j, year in enumerate(range(1974, 2013)):
        for age in range(100):
            rate = lambda m: "%.9g" % (float(m[age][j]) / 1000)
            rows.append((year, age, rate(female), rate(male)))
    write("dk-mortality-Mx_1x1.txt", "Denmark, Death rates (period 1x1)",
          [("Year", 7), ("Age", 11), ("Female", 17), ("Male", 14)], rows)


def exposures():
    # Two columns per year, lower triangle first: the lower triangle of
    # year t and age a holds the cohort t - a, the upper one t - a - 1.
    person_years = matrix("dk-male-person-years-triangles.csv")
    rows = []
    for k, year in enumerate(range(1971, 2013)):
        for age in range(100):
            rows.append((year, age, year - age, person_years[age][2 * k]))
            rows.append((year, age, year - age - 1, person_years[age][2 * k + 1]))
    write("dk-male-exposures-lexis.txt", "Denmark, Exposure to risk (Lexis triangle), males",
          [("Year", 7), ("Age", 11), ("Cohort", 10), ("Male", 14)], rows)


def fertility():
    # A synthetic schedule, not registry data: a skewed bell of age reached
    # during the year whose total falls from 2.6 to 1.7 and recovers to 1.8
    # while its peak moves from 25 to 31, with a small baby boom of the
    # cohorts born 1960-1966 having 30 % more children in their twenties.
    rows = []
    for year in range(1950, 2021):
        t = (year - 1950) / 70
        total = 2.6 - 2.4 * t + 1.6 * t * t
        peak = 25 + 6 * t * t
        weights = {}
        for ardy in range(12, 56):
            x = ardy - 0.5 - 12
            ratio = max(x, 0.1) / (peak - 12)
            shape = ratio**8 * math.exp(-8 * (ratio - 1))
            cohort = year - ardy
            boom = 1.3 if 1960 <= cohort <= 1966 and ardy < 30 else 1.0
            weights[ardy] = shape * boom
        norm = sum(weights.values())
        for ardy in range(12, 56):
            label = "12-" if ardy == 12 else "55+" if ardy == 55 else str(ardy)
            rows.append((year, label, "%.5f" % (total * weights[ardy] / norm)))
    write("synthetic-asfrVV.txt",
          "Synthetic, Age-specific fertility rate by calendar year and age reached during the year",
          [("Year", 7), ("ARDY", 11), ("ASFR", 12)], rows, HFD_MODIFIED)


mortality()
exposures()
fertility()
