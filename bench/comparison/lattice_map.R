# The same picture with lattice's levelplot (contour lines on), saved as a
# 1024 x 720 PNG.
args <- commandArgs(trailingOnly = TRUE)
folder <- args[1]
suppressMessages(library(lattice))
data <- as.matrix(read.csv(file.path(folder, "large.csv"), header = FALSE, na.strings = "NA"))
levels <- 0.5 * 1.6^(0:11)
png(file.path(folder, "large-lattice.png"), width = 1024, height = 720)
print(levelplot(t(data), at = c(-Inf, levels, Inf), contour = TRUE,
                main = "A generated 1000 x 1000 surface"))
invisible(dev.off())
