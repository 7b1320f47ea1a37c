# frames: 1
# A long bank of cloud (see Cloud.sh).
exec sh "$(dirname "$0")/Cloud.sh" big 3
