"""The same picture with matplotlib: pcolormesh, contour lines, a colour
bar, saved as a 1024 x 720 PNG."""
import sys

import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt
import numpy as np

folder = sys.argv[1]
data = np.genfromtxt(f"{folder}/large.csv", delimiter=",", missing_values="NA")
levels = [0.5 * 1.6 ** k for k in range(12)]
figure, axes = plt.subplots(figsize=(10.24, 7.2), dpi=100)
mesh = axes.pcolormesh(data, cmap="YlOrRd", norm=matplotlib.colors.BoundaryNorm(levels, 256, extend="both"))
axes.contour(data, levels=levels, colors="black", linewidths=0.5)
figure.colorbar(mesh, ax=axes)
axes.set_title("A generated 1000 x 1000 surface")
figure.savefig(f"{folder}/large-matplotlib.png")
