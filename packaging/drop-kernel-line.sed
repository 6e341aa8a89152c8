# Drops the paragraph of sorvel --version that names the kernel of the
# machine the page was made on.
$!N
/^\.PP\nKernel: /d
P
D
