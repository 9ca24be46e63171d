import sys

from resgen.generate import main

sys.exit(main(sys.argv[1:]))
