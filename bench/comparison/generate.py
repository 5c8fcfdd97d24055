"""Writes a 1000 x 1000 comma-delimited matrix shaped like a mortality
surface (rates growing with age, falling slowly over time, with noise and
0.1 % missing cells written NA), and the setup file that draws it with 12
boundaries and contour lines."""
import math
import random
import sys

folder = sys.argv[1]
random.seed(1)
rows = columns = 1000
with open(f"{folder}/large.csv", "w") as out:
    for r in range(rows):
        base = 0.5 * math.exp(0.0085 * r)
        cells = []
        for c in range(columns):
            if random.random() < 0.001:
                cells.append("NA")
            else:
                value = base * math.exp(-0.0012 * c) * (1 + 0.05 * random.gauss(0, 1))
                cells.append("%.4f" % value)
        out.write(",".join(cells) + "\n")

colours = [13434879, 11727871, 9955582, 8248574, 6932478, 5746941, 4561405,
           3636217, 2971889, 2307561, 1906907, 2101437, 2295966]
with open(f"{folder}/large.dml", "w") as out:
    out.write("[SYSTEM]\r\nType=Demla;\r\nVersion=1.1;\r\n"
              "[DATA]\r\nFormat=ASCII;\r\nMapMatrix=large.csv;\r\n"
              "[PLOT.FRAME]\r\nTitle=\"A generated 1000 x 1000 surface\";\r\n"
              "xTicks={0, 1000, 100};\r\nyTicks={0, 1000, 100};\r\n"
              "[MAP.SCALE]\r\nMultiplicativeScale={0.5, 1.6, 12};\r\nScaleMargin=100;\r\n"
              "[COLORS]\r\nMapColors={" + " ".join(map(str, colours)) + "};\r\n"
              "MapMissingColor=12632256;\r\n"
              "[MAP.ATTRIBUTES]\r\nDemlaMapType=Rectangle;\r\nContourLines=Yes;\r\n")
