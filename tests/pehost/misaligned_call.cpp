// sorvel_call_misaligned(fn, args, count, offset): calls the cdecl function
// fn with count 32-bit arguments, the stack pointer at the call being
// `offset` bytes below a multiple of 16, and returns its EAX.
#if defined(__i386__)
__asm__(R"(
    .text
    .globl sorvel_call_misaligned
    .type sorvel_call_misaligned, @function
sorvel_call_misaligned:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    pushl %edi
    movl 12(%ebp), %esi
    movl 16(%ebp), %ecx
    movl 20(%ebp), %edx
    andl $-16, %esp
    subl $64, %esp
    subl %edx, %esp
    movl %esp, %edi
    cld
    rep movsl
    call *8(%ebp)
    leal -8(%ebp), %esp
    popl %edi
    popl %esi
    popl %ebp
    ret
    .size sorvel_call_misaligned, .-sorvel_call_misaligned
)");
#endif
