# frames: 4
# The Blue bird sitting on a perch (see Bird.sh).
exec sh "$(dirname "$0")/Bird.sh" Blue idle "$@"
