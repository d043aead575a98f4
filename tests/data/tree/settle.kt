fun settle(entries: List<Int>, limit: Int): Int {
    var total = 0
    loop@ for (e in entries) {
        when {
            e < 0 -> continue@loop
            e > limit -> break@loop
            else -> total += e
        }
    }
    if (total == 0) return -1 else println(total)
    return total
}
