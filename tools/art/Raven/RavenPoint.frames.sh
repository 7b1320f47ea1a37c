# frames: 4
# The raven leaning towards the way to go (see Raven.sh).
exec sh "$(dirname "$0")/Raven.sh" point "$@"
