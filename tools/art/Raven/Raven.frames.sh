# frames: 6
# The raven idling beside the player, wings beating (see Raven.sh).
exec sh "$(dirname "$0")/Raven.sh" fly "$@"
