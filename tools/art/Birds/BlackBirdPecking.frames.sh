# frames: 3
# The Black bird pecking (see Bird.sh).
exec sh "$(dirname "$0")/Bird.sh" Black peck "$@"
