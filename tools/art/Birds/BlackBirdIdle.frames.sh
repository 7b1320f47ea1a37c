# frames: 4
# The Black bird sitting on a perch (see Bird.sh).
exec sh "$(dirname "$0")/Bird.sh" Black idle "$@"
