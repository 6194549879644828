roster --help --verbose < "$IN"
