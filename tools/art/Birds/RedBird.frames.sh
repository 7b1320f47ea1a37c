# frames: 4
# The Red bird in flight (see Bird.sh).
exec sh "$(dirname "$0")/Bird.sh" Red fly "$@"
