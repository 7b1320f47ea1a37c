# frames: 4
# The Blue bird in flight (see Bird.sh).
exec sh "$(dirname "$0")/Bird.sh" Blue fly "$@"
