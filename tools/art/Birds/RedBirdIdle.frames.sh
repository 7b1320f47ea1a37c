# frames: 4
# The Red bird sitting on a perch (see Bird.sh).
exec sh "$(dirname "$0")/Bird.sh" Red idle "$@"
