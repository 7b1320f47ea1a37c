# frames: 3
# The Red bird pecking (see Bird.sh).
exec sh "$(dirname "$0")/Bird.sh" Red peck "$@"
