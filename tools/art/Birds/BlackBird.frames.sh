# frames: 4
# The Black bird in flight (see Bird.sh).
exec sh "$(dirname "$0")/Bird.sh" Black fly "$@"
