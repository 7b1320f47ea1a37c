# frames: 3
# The Blue bird pecking (see Bird.sh).
exec sh "$(dirname "$0")/Bird.sh" Blue peck "$@"
