# Lets ccache reuse objects across clones and work trees of this repository.
export CCACHE_BASEDIR="$(pwd)"
export CCACHE_NOHASHDIR=1
export CCACHE_MAXSIZE="${CCACHE_MAXSIZE:-5G}"
