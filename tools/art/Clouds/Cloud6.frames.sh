# frames: 1
# A small drifting cloud (see Cloud.sh).
exec sh "$(dirname "$0")/Cloud.sh" small 6
